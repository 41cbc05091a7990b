#include "MosquittoClient.h"

#include <mosquitto.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

namespace solardesk::station {

namespace {

void InitLibrary() {
  static const int done = [] {
    mosquitto_lib_init();
    return 0;
  }();
  (void)done;
}

constexpr int kKeepAliveSeconds = 30;
// Where Debian keeps the system's CA certificates, one per hash name (a folder that is missing
// adds none).
constexpr const char* kSystemCaFolder = "/etc/ssl/certs";
// How long a clean goodbye may take before the connection is simply dropped.
constexpr int kGoodbyeRounds = 10;
constexpr int kGoodbyeRoundMs = 50;

// libmosquitto's message for `rc` as a clause: "Connection Refused: not authorised." gives
// "not authorised".
QString Clause(const char* text) {
  QString s = QString::fromUtf8(text);
  const qsizetype colon = s.lastIndexOf(QLatin1String(": "));
  if (colon >= 0) s = s.mid(colon + 2);
  while (s.endsWith(QLatin1Char('.'))) s.chop(1);
  if (!s.isEmpty()) s[0] = s[0].toLower();
  return s;
}

// Whether `error` tells why a connection could not be made.
bool ConnectError(int error) {
  return error == ECONNREFUSED || error == ECONNRESET || error == ETIMEDOUT ||
         error == EHOSTUNREACH || error == ENETUNREACH;
}

}  // namespace

std::unique_ptr<MosquittoClient> MosquittoClient::Create(const BrokerAccess& broker,
                                                         const QString& clientId,
                                                         const QString& willTopic, QString* error) {
  InitLibrary();
  std::unique_ptr<MosquittoClient> c(new MosquittoClient(broker));
  const auto fail = [&](const QString& why) {
    if (error) *error = why;
    return nullptr;
  };
  const QByteArray id = clientId.toUtf8();
  c->client_ = mosquitto_new(id.constData(), true, c.get());
  if (!c->client_) return fail(QStringLiteral("cannot set up the MQTT client"));
  mosquitto_connect_callback_set(c->client_, &MosquittoClient::OnConnect);
  mosquitto_disconnect_callback_set(c->client_, &MosquittoClient::OnDisconnect);
  mosquitto_publish_callback_set(c->client_, &MosquittoClient::OnPublish);
  mosquitto_log_callback_set(c->client_, &MosquittoClient::OnLog);
  const QByteArray will = willTopic.toUtf8();
  mosquitto_will_set(c->client_, will.constData(), 7, "offline", 1, true);
  const MqttUrl& url = broker.url;
  if (!url.user.isEmpty()) {
    const QByteArray user = url.user.toUtf8();
    const QByteArray password = broker.password.toUtf8();
    mosquitto_username_pw_set(c->client_, user.constData(),
                              broker.password.isEmpty() ? nullptr : password.constData());
  }
  if (url.tls) {
    int rc = MOSQ_ERR_SUCCESS;
    if (!broker.caFile.isEmpty()) {
      const QByteArray ca = broker.caFile.toLocal8Bit();
      rc = mosquitto_tls_set(c->client_, ca.constData(), nullptr, nullptr, nullptr, nullptr);
    } else {
      // The system's store. With that option alone libmosquitto refuses every attempt after the
      // first ("invalid function arguments"): it wants a CA file or folder named as well. The
      // system's folder of CA certificates is named, which the store holds anyway.
      rc = mosquitto_int_option(c->client_, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
      if (rc == MOSQ_ERR_SUCCESS)
        rc = mosquitto_tls_set(c->client_, nullptr, kSystemCaFolder, nullptr, nullptr, nullptr);
    }
    if (rc != MOSQ_ERR_SUCCESS) {
      return fail(
          QStringLiteral("cannot use the CA certificates %1: %2")
              .arg(broker.caFile.isEmpty() ? QStringLiteral("of the system") : broker.caFile,
                   QString::fromUtf8(mosquitto_strerror(rc))));
    }
  }
  return c;
}

MosquittoClient::~MosquittoClient() {
  if (client_) mosquitto_destroy(client_);
}

void MosquittoClient::OnConnect(mosquitto*, void* self, int rc) {
  auto* c = static_cast<MosquittoClient*>(self);
  c->refusal_ = rc;
  c->connected_ = rc == 0;
}

void MosquittoClient::OnDisconnect(mosquitto*, void* self, int) {
  static_cast<MosquittoClient*>(self)->connected_ = false;
}

void MosquittoClient::OnPublish(mosquitto*, void* self, int mid) {
  static_cast<MosquittoClient*>(self)->acknowledged_.push_back(mid);
}

void MosquittoClient::OnLog(mosquitto*, void* self, int, const char* text) {
  // "OpenSSL Error[0]: error:0A000086:SSL routines::certificate verify failed"
  const QString line = QString::fromUtf8(text);
  if (line.startsWith(QLatin1String("OpenSSL Error")))
    static_cast<MosquittoClient*>(self)->tlsError_ = line.section(QLatin1Char(':'), -1).trimmed();
}

QString MosquittoClient::Reason(int rc, int savedErrno, bool wasConnected) const {
  if (!tlsError_.isEmpty()) {
    if (tlsError_.contains(QLatin1String("certificate verify failed")))
      return QStringLiteral("certificate not trusted: %1").arg(tlsError_);
    return QStringLiteral("TLS failed: %1").arg(tlsError_);
  }
  if (refusal_ != 0) {
    const QString answer = Clause(mosquitto_connack_string(refusal_));
    // 4: wrong user name or password; 5: not authorised.
    if (refusal_ != 4 && refusal_ != 5)
      return QStringLiteral("refused the connection: %1").arg(answer);
    if (broker_.password.isEmpty())
      return QStringLiteral(
                 "refused the login: %1; no password given (SOLARDESK_MQTT_PASSWORD "
                 "is not set)")
          .arg(answer);
    return QStringLiteral("refused the login: %1").arg(answer);
  }
  QString error;
  switch (rc) {
    case MOSQ_ERR_ERRNO:
      error = QString::fromLocal8Bit(std::strerror(savedErrno));
      break;
    case MOSQ_ERR_EAI:
      error = QStringLiteral("host name not found");
      break;
    case MOSQ_ERR_CONN_LOST:
      error = QStringLiteral("the broker closed the connection");
      break;
    case MOSQ_ERR_KEEPALIVE:
      error = QStringLiteral("no answer to keep-alive");
      break;
    default:
      error = Clause(mosquitto_strerror(rc));
  }
  return (wasConnected ? QStringLiteral("connection lost: ") : QStringLiteral("not reachable: ")) +
         error;
}

bool MosquittoClient::Connect(QString* why) {
  tlsError_.clear();
  refusal_ = 0;
  connected_ = false;
  errno = 0;
  const QByteArray host = broker_.url.host.toUtf8();
  const int rc =
      mosquitto_connect_async(client_, host.constData(), broker_.url.port, kKeepAliveSeconds);
  const int savedErrno = errno;
  connectErrno_ = ConnectError(savedErrno) ? savedErrno : 0;
  if (rc == MOSQ_ERR_SUCCESS) return true;
  *why = Reason(rc, savedErrno, false);
  return false;
}

bool MosquittoClient::Service(int ms, QString* why) {
  const bool wasConnected = connected_;
  errno = 0;
  const int rc = mosquitto_loop(client_, ms, 1);
  const int savedErrno = errno;
  if (rc == MOSQ_ERR_SUCCESS && refusal_ == 0 && (connected_ || !AttemptFailed(why))) return true;
  if (rc != MOSQ_ERR_SUCCESS || refusal_ != 0) *why = Reason(rc, savedErrno, wasConnected);
  connected_ = false;
  return false;
}

bool MosquittoClient::AttemptFailed(QString* why) const {
  // With TLS, libmosquitto takes a connection the broker's host refused for one that is being
  // made, and would wait for the broker's answer on it until the attempt is given up.
  const int fd = mosquitto_socket(client_);
  if (fd < 0) return false;
  int error = 0;
  socklen_t size = sizeof error;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = 0;
  if (error == 0) {
    char c = 0;
    const ssize_t n = ::recv(fd, &c, 1, MSG_PEEK | MSG_DONTWAIT);
    if (n > 0 || (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)))
      return false;  // still on its way, or the broker's first words wait
    // Closed: the refusal libmosquitto met on connecting, if it met one.
    error = n < 0 && errno != ENOTCONN ? errno : connectErrno_;
  }
  *why = error != 0 ? Reason(MOSQ_ERR_ERRNO, error, false) : Reason(MOSQ_ERR_CONN_LOST, 0, false);
  return true;
}

std::optional<int> MosquittoClient::Publish(const OutgoingMessage& m) {
  const QByteArray topic = m.topic.toUtf8();
  int id = 0;
  if (mosquitto_publish(client_, &id, topic.constData(), static_cast<int>(m.payload.size()),
                        m.payload.constData(), 1, m.retain) != MOSQ_ERR_SUCCESS)
    return std::nullopt;
  return id;
}

std::vector<int> MosquittoClient::TakeAcknowledged() {
  return std::exchange(acknowledged_, {});
}

void MosquittoClient::Disconnect() {
  const bool wasConnected = connected_;
  mosquitto_disconnect(client_);
  connected_ = false;
  // Connected, the goodbye goes out and the broker closes the connection; an attempt that is
  // still waiting for its answer is closed at the next attempt.
  for (int i = 0; wasConnected && i < kGoodbyeRounds && mosquitto_socket(client_) >= 0; ++i)
    mosquitto_loop(client_, kGoodbyeRoundMs, 1);
}

}  // namespace solardesk::station
