#!/usr/bin/env python3
"""Loads the station's page in headless Chromium and prints what it shows as one JSON object.

Usage: web_page_check.py [--days-only] URL [SCREENSHOT.png]
Watches the live value for at most 20 s until it changed twice, then reads the day chart's
series and their points, the status and the listed day files; with --days-only it does not watch the value. In
both it waits for the page to choose between the insolation chart and its note, and says which
of the two can be seen.
"""
import json
import sys
import time

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By


def main():
    days_only = "--days-only" in sys.argv[1:]
    args = [a for a in sys.argv[1:] if a != "--days-only"]
    url = args[0]
    shot = args[1] if len(args) > 1 else None
    options = Options()
    options.binary_location = "/usr/bin/chromium"
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                "--window-size=1200,1250", "--no-first-run"):
        options.add_argument(arg)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        driver.set_page_load_timeout(30)
        driver.get(url)
        values = []
        deadline = time.time() + 20
        while not days_only and time.time() < deadline and len(values) < 3:
            text = driver.find_element(By.ID, "value").text
            if text not in ("", "–") and (not values or values[-1] != text):
                values.append(text)
            time.sleep(0.05)
        time.sleep(0.3)  # the chart is drawn after the value is shown
        while (time.time() < deadline and
               driver.execute_script("return window.solardesk.daysShown();") is None):
            time.sleep(0.05)
        note = driver.find_element(By.ID, "days-note")
        days_chart = driver.find_element(By.ID, "days-chart")
        shown = driver.execute_script(
            "const p = window.solardesk; return [p.dayPoints(), p.dayPointsOf('Reading'),"
            " p.lastRecord(), p.dayPointsOf('Clear sky'), p.dayLabels(), p.daysLabels(),"
            " p.daysBarsOf('Energy'), p.daysBarsOf('Clear sky')];")
        links = driver.find_elements(By.CSS_SELECTOR, "#files a")
        result = {
            "values": values,
            "day_points": shown[0],
            "chart_points": shown[1],
            "last_record": shown[2],
            "clear_sky_points": shown[3],
            "day_labels": shown[4],
            "days_labels": shown[5],
            "energy_bars": shown[6],
            "clear_sky_bars": shown[7],
            "status": driver.find_element(By.ID, "status").text,
            "unit": driver.find_element(By.ID, "unit").text,
            "files": [a.text for a in links],
            "links": [a.get_attribute("href") for a in links],
            "canvases": len(driver.find_elements(By.CSS_SELECTOR, "#day-chart canvas")),
            "days_shown": driver.execute_script("return window.solardesk.daysShown();"),
            "days_note": note.text if note.is_displayed() else None,
            "days_chart_seen": days_chart.is_displayed(),
            "days_canvases": len(driver.find_elements(By.CSS_SELECTOR, "#days-chart canvas")),
        }
        if shot:
            driver.save_screenshot(shot)
        print(json.dumps(result))
    finally:
        driver.quit()


if __name__ == "__main__":
    main()
