#include "SysfsTree.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace solardesk::hidraw {
namespace fs = std::filesystem;
namespace {

std::string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

bool WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

struct Paths {
  std::string usbName;  // "1-<port>"
  fs::path usb, interface, hid, raw;
};

Paths PathsOf(const SysfsHidDevice& d, const fs::path& sys) {
  Paths p;
  p.usbName = "1-" + std::to_string(d.hidrawIndex + 1);
  p.usb = sys / "devices/pci0000:00/0000:00:14.0/usb1" / p.usbName;
  p.interface = p.usb / (p.usbName + ":1.0");
  p.hid = p.interface / ("0003:" + Hex(d.vendorId, 4) + ":" + Hex(d.productId, 4) + "." +
                         Hex(static_cast<unsigned>(d.hidrawIndex + 1), 4));
  p.raw = p.hid / "hidraw" / HidrawName(d.hidrawIndex);
  return p;
}

}  // namespace

std::string HidrawName(int index) {
  return "hidraw" + std::to_string(index);
}

std::string AddToSysfs(const SysfsHidDevice& d, const std::string& sysRoot) {
  const fs::path sys(sysRoot);
  const Paths p = PathsOf(d, sys);
  const std::string node = HidrawName(d.hidrawIndex);
  const std::string vid = Hex(d.vendorId, 4), pid = Hex(d.productId, 4);
  std::error_code ec;
  for (const char* dir : {"class/hidraw", "bus/hid/devices", "bus/usb/devices"})
    fs::create_directories(sys / dir, ec);
  fs::create_directories(p.raw, ec);
  if (ec) return p.raw.string() + ": " + ec.message();

  // Each device names its subsystem through a link, as the kernel does.
  fs::create_directory_symlink(sys / "bus/usb", p.usb / "subsystem", ec);
  fs::create_directory_symlink(sys / "bus/usb", p.interface / "subsystem", ec);
  fs::create_directory_symlink(sys / "bus/hid", p.hid / "subsystem", ec);
  fs::create_directory_symlink(sys / "class/hidraw", p.raw / "subsystem", ec);
  fs::create_directory_symlink(p.hid, p.raw / "device", ec);
  fs::create_directory_symlink(p.raw, sys / "class/hidraw" / node, ec);
  fs::create_directory_symlink(p.hid, sys / "bus/hid/devices" / p.hid.filename(), ec);
  fs::create_directory_symlink(p.usb, sys / "bus/usb/devices" / p.usbName, ec);
  fs::create_directory_symlink(p.interface, sys / "bus/usb/devices" / p.interface.filename(), ec);
  if (ec) return "sysfs links: " + ec.message();

  char product[32];
  std::snprintf(product, sizeof product, "%x/%x", d.vendorId, d.productId);
  const std::string hidId = "0003:0000" + vid + ":0000" + pid;
  const bool ok =
      WriteFile(p.usb / "uevent", "DEVTYPE=usb_device\nDRIVER=usb\nPRODUCT=" +
                                      std::string(product) + "/200\nTYPE=0/0/0\nBUSNUM=001\n") &&
      WriteFile(p.usb / "idVendor", vid + "\n") && WriteFile(p.usb / "idProduct", pid + "\n") &&
      WriteFile(p.usb / "bcdDevice", "0200\n") &&
      WriteFile(p.usb / "manufacturer", d.manufacturer + "\n") &&
      WriteFile(p.usb / "product", d.product + "\n") &&
      WriteFile(p.usb / "serial", d.serial + "\n") &&
      WriteFile(p.interface / "uevent",
                "DEVTYPE=usb_interface\nDRIVER=usbhid\nINTERFACE=3/0/0\n") &&
      WriteFile(p.interface / "bInterfaceNumber", "00\n") &&
      WriteFile(p.hid / "uevent", "DRIVER=hid-generic\nHID_ID=" + hidId + "\nHID_NAME=" +
                                      d.manufacturer + " " + d.product + "\nHID_PHYS=usb-" +
                                      p.usbName + "/input0\nHID_UNIQ=" + d.serial + "\n") &&
      WriteFile(p.hid / "report_descriptor",
                std::string(d.reportDescriptor.begin(), d.reportDescriptor.end())) &&
      WriteFile(p.raw / "uevent",
                "MAJOR=240\nMINOR=" + std::to_string(d.hidrawIndex) + "\nDEVNAME=" + node + "\n") &&
      WriteFile(p.raw / "dev", "240:" + std::to_string(d.hidrawIndex) + "\n");
  return ok ? std::string() : "cannot write the sysfs files of " + node;
}

void RemoveFromSysfs(const SysfsHidDevice& d, const std::string& sysRoot) {
  const fs::path sys(sysRoot);
  const Paths p = PathsOf(d, sys);
  std::error_code ec;
  fs::remove(sys / "class/hidraw" / HidrawName(d.hidrawIndex), ec);
  fs::remove(sys / "bus/hid/devices" / p.hid.filename(), ec);
  fs::remove(sys / "bus/usb/devices" / p.usbName, ec);
  fs::remove(sys / "bus/usb/devices" / p.interface.filename(), ec);
  fs::remove_all(p.usb, ec);
}

}  // namespace solardesk::hidraw
