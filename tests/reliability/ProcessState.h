#pragma once

#include <QDir>
#include <QFile>

namespace solardesk::testing {

// Under AddressSanitizer freed memory is held back in quarantine, so the resident size says
// nothing about growth; memory is measured in the normal build only (g++ and clang name the
// sanitizer differently).
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOLARDESK_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(SOLARDESK_ADDRESS_SANITIZER)
inline constexpr bool kResidentMemoryIsMeaningful = false;
#else
inline constexpr bool kResidentMemoryIsMeaningful = true;
#endif

// Open file descriptors of this process.
inline int OpenDescriptors() {
  return static_cast<int>(QDir(QStringLiteral("/proc/self/fd")).count());
}

// Resident memory of this process, in kilobytes.
inline long ResidentKb() {
  QFile f(QStringLiteral("/proc/self/statm"));
  if (!f.open(QIODevice::ReadOnly)) return 0;
  const QList<QByteArray> fields = f.readAll().split(' ');
  return fields.size() > 1 ? fields[1].toLong() * 4 : 0;
}

}  // namespace solardesk::testing
