#include "WebAccess.h"

#include <QStringList>

namespace solardesk::station::web {

std::optional<ListenAddress> ParseListenAddress(const QString& text, QString* error) {
  ListenAddress out;
  QString port = text;
  const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
  if (colon >= 0) {
    out.address = text.left(colon);
    port = text.mid(colon + 1);
    const QStringList parts = out.address.split(QLatin1Char('.'));
    bool ipv4 = parts.size() == 4;
    for (const QString& p : parts) {
      bool ok = false;
      const int n = p.toInt(&ok);
      ipv4 = ipv4 && ok && p.size() <= 3 && n >= 0 && n <= 255 && p.front().isDigit();
    }
    if (!ipv4 && out.address != QLatin1String("localhost")) {
      *error = QStringLiteral("\"%1\" is no IPv4 address").arg(out.address);
      return std::nullopt;
    }
    if (out.address == QLatin1String("localhost")) out.address = QStringLiteral("127.0.0.1");
  }
  bool ok = false;
  out.port = port.toInt(&ok);
  if (!ok || out.port < 1 || out.port > 65535 || !port.front().isDigit()) {
    *error = QStringLiteral("\"%1\" is no port (1 to 65535)").arg(port);
    return std::nullopt;
  }
  return out;
}

bool IsLoopback(const QString& address) {
  return address.startsWith(QLatin1String("127.")) || address == QLatin1String("localhost");
}

bool SameSecret(QByteArrayView a, QByteArrayView b) {
  // Every byte of the longer one is looked at, whatever the other holds.
  const qsizetype n = std::max(a.size(), b.size());
  unsigned char diff = a.size() == b.size() ? 0 : 1;
  for (qsizetype i = 0; i < n; ++i) {
    const unsigned char x = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
    const unsigned char y = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
    diff |= static_cast<unsigned char>(x ^ y);
  }
  return diff == 0;
}

bool BasicAuthorized(QByteArrayView header, const QString& user, const QByteArray& password) {
  const QByteArray h = header.toByteArray().trimmed();
  if (h.size() < 6 || qstrnicmp(h.constData(), "basic ", 6) != 0) return false;
  const auto decoded =
      QByteArray::fromBase64Encoding(h.mid(6).trimmed(), QByteArray::AbortOnBase64DecodingErrors);
  if (!decoded) return false;
  return SameSecret(*decoded, user.toUtf8() + ':' + password);
}

}  // namespace solardesk::station::web
