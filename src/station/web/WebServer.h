#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonArray>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "DayData.h"
#include "StationView.h"
#include "WebAccess.h"
#include "analysis/StatisticsReport.h"
#include "station/EventLog.h"

struct mg_connection;
struct mg_context;

namespace solardesk::station::web {

struct WebSettings {
  ListenAddress listen;
  QString user;         // with `password`: HTTP Basic on every request
  QByteArray password;  // from SOLARDESK_HTTP_PASSWORD
  bool open = false;    // beyond the loopback address without a password, on purpose
  QString certificate;  // PEM files for HTTPS, refused while the library cannot serve it
  QString key;
  SiteAssumptions assumed;  // the site and sky of the clear-sky curve and bars, as `stats`'s
};

// What is wrong with serving so, or empty: beyond the loopback address a user and a password
// are needed, or --http-open; a user needs a password; a certificate needs its key; and HTTPS
// is refused, since Debian 12's civetweb crashes serving it.
QString SettingsProblem(const WebSettings& s);

// The station's web page and its API, read-only, on threads of its own (civetweb): the page
// and its files, /api/state, /api/days, /api/day/DATE, /api/clearsky/DATE, /api/events (the
// samples as Server-Sent Events) and /files/NAME (a day file as stored). At most kConnections
// connections are served at once, a request line with its headers holds at most 8 KB, and a
// client that sends or takes nothing for kTimeoutMs is dropped.
class WebServer {
 public:
  static constexpr int kConnections = 32;
  static constexpr int kEventReaders = 8;
  static constexpr int kTimeoutMs = 3000;

  WebServer(WebSettings settings, QString dir, StationView& view, EventSink events,
            std::function<QDateTime()> now);
  ~WebServer();
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;

  // Listens and starts the threads; false with the reason when it cannot.
  bool Start(QString* error);
  void Stop();
  // "http://127.0.0.1:8080/"
  QString Url() const;

  // Where the page's own files are: beside the installed program, else in the sources.
  static QString AssetFolder();
  // Where the chart library is (the system's packaged copy).
  static QString ChartLibraryFolder();

 private:
  static int Handle(mg_connection* conn, void* self);
  int Serve(mg_connection* conn);
  int ServeEvents(mg_connection* conn);
  int ServeFile(mg_connection* conn, const QString& path, const char* type);
  QByteArray StateJson() const;
  QByteArray ClearSkyJson(const QDate& day) const;
  void Housekeep();

  WebSettings settings_;
  QString dir_;
  StationView& view_;
  EventSink events_;
  std::function<QDateTime()> now_;
  DailyFigures figures_;
  QJsonArray assumed_;  // what the figures assume, [label, text] pairs, as `stats` says it
  QString assets_;
  QString chartLibrary_;
  mg_context* context_ = nullptr;
  std::atomic<bool> stopping_{false};
  std::thread housekeeper_;
  std::mutex wakeMutex_;
  std::condition_variable wake_;
};

}  // namespace solardesk::station::web
