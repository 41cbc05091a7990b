#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace solardesk::station::web {

// Where the page is served: "[ADDR:]PORT", the address 127.0.0.1 unless given.
struct ListenAddress {
  QString address = QStringLiteral("127.0.0.1");
  int port = 0;
};
// Nothing, with `error` said, for anything but an IPv4 address or "localhost" and a port of
// 1 to 65535.
std::optional<ListenAddress> ParseListenAddress(const QString& text, QString* error);

// 127.0.0.0/8 and "localhost": only this machine reaches them.
bool IsLoopback(const QString& address);

// Whether two secrets are equal, in a time that depends on their lengths only, never on where
// they differ.
bool SameSecret(QByteArrayView a, QByteArrayView b);

// Whether an "Authorization" header value gives `user` and `password` by HTTP Basic.
bool BasicAuthorized(QByteArrayView header, const QString& user, const QByteArray& password);

}  // namespace solardesk::station::web
