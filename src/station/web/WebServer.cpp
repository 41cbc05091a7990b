#include "WebServer.h"

#include <civetweb.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStorageInfo>
#include <QTimeZone>
#include <QUrlQuery>
#include <vector>

#include "analysis/ClearSky.h"
#include "analysis/EnergyUnit.h"
#include "analysis/StatisticsReport.h"
#include "core/IsoTime.h"

namespace solardesk::station::web {
namespace {

// The longest span /api/days gives at once, and the one it gives when asked for none.
constexpr int kMostDays = 366;
constexpr int kDefaultDays = 31;
// How often an idle event stream says it is still there, so that a gone reader is noticed.
constexpr std::chrono::milliseconds kKeepAlive{15000};
constexpr std::chrono::milliseconds kStopLook{250};
// The step of the clear-sky curve.
constexpr qint64 kClearSkyStep = 300;

struct Asset {
  const char* uri;
  const char* file;
  const char* type;
  bool chartLibrary;
};
constexpr Asset kAssets[] = {
    {"/", "index.html", "text/html; charset=utf-8", false},
    {"/app.js", "app.js", "text/javascript; charset=utf-8", false},
    {"/style.css", "style.css", "text/css; charset=utf-8", false},
    {"/lib/dygraph.min.js", "dygraph.min.js", "text/javascript; charset=utf-8", true},
    {"/lib/dygraph.min.css", "dygraph.min.css", "text/css; charset=utf-8", true},
};

const char* ReasonOf(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 400:
      return "Bad Request";
    case 401:
      return "Unauthorized";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 503:
      return "Service Unavailable";
    default:
      return "Error";
  }
}

void Header(mg_connection* conn, const char* name, const QByteArray& value) {
  mg_response_header_add(conn, name, value.constData(), static_cast<int>(value.size()));
}

void StartResponse(mg_connection* conn, int status, const char* type, qint64 length) {
  mg_response_header_start(conn, status);
  Header(conn, "Content-Type", type);
  if (length >= 0) Header(conn, "Content-Length", QByteArray::number(length));
  Header(conn, "Cache-Control", "no-store");
  Header(conn, "X-Content-Type-Options", "nosniff");
  Header(conn, "Content-Security-Policy",
         "default-src 'self'; style-src 'self' 'unsafe-inline'; frame-ancestors 'none'");
}

int Send(mg_connection* conn, int status, const char* type, const QByteArray& body,
         const char* extraName = nullptr, const char* extraValue = nullptr) {
  StartResponse(conn, status, type, body.size());
  if (extraName) Header(conn, extraName, extraValue);
  mg_response_header_send(conn);
  mg_write(conn, body.constData(), static_cast<size_t>(body.size()));
  return status;
}

int SendError(mg_connection* conn, int status, const char* extraName = nullptr,
              const char* extraValue = nullptr) {
  return Send(conn, status, "text/plain; charset=utf-8",
              QByteArray::number(status) + ' ' + ReasonOf(status) + '\n', extraName, extraValue);
}

int SendJson(mg_connection* conn, const QByteArray& json) {
  return Send(conn, 200, "application/json", json);
}

QByteArray Json(const QJsonObject& o) {
  return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

QString Iso(const QDateTime& t) {
  return t.isValid() ? IsoTimeText(t) : QString();
}

std::optional<QDate> DateOf(QStringView text) {
  if (text.size() != 10) return std::nullopt;
  const QDate d = QDate::fromString(text.toString(), u"yyyy-MM-dd");
  if (!d.isValid()) return std::nullopt;
  return d;
}

const char* MeterText(MeterState s) {
  switch (s) {
    case MeterState::Answering:
      return "answering";
    case MeterState::NotAnswering:
      return "not answering";
    case MeterState::Absent:
      return "absent";
  }
  return "absent";
}

}  // namespace

QString SettingsProblem(const WebSettings& s) {
  if (!s.user.isEmpty() && s.password.isEmpty())
    return QStringLiteral("--http-user needs the password in SOLARDESK_HTTP_PASSWORD");
  if (!IsLoopback(s.listen.address) && s.user.isEmpty() && !s.open)
    return QStringLiteral(
        "serving beyond the loopback address needs --http-user NAME with the password in "
        "SOLARDESK_HTTP_PASSWORD, or --http-open");
  if (s.certificate.isEmpty() != s.key.isEmpty())
    return QStringLiteral("--http-cert and --http-key go together");
  if (!s.certificate.isEmpty())
    return QStringLiteral(
        "HTTPS is not offered: the civetweb of Debian 12 (1.15) ends the program at the first "
        "HTTPS request (it loads OpenSSL 3 through the interface of OpenSSL 1.1); serve HTTPS "
        "through a reverse proxy in front of the loopback address");
  return QString();
}

WebServer::WebServer(WebSettings settings, QString dir, StationView& view, EventSink events,
                     std::function<QDateTime()> now)
    : settings_(std::move(settings)),
      dir_(std::move(dir)),
      view_(view),
      events_(std::move(events)),
      now_(std::move(now)),
      figures_(dir_, settings_.assumed),
      assets_(AssetFolder()),
      chartLibrary_(ChartLibraryFolder()) {
  for (const auto& [label, text] : AssumptionRows(settings_.assumed))
    assumed_.append(QJsonArray{label, text});
}

WebServer::~WebServer() {
  Stop();
}

QString WebServer::AssetFolder() {
  const QString installed =
      QCoreApplication::applicationDirPath() + QStringLiteral("/../share/solardesk/web");
  if (QFileInfo::exists(installed + QStringLiteral("/index.html")))
    return QDir::cleanPath(installed);
  return QStringLiteral(SOLARDESK_WEB_SOURCE_ASSETS);
}

QString WebServer::ChartLibraryFolder() {
  return QStringLiteral(SOLARDESK_CHART_LIBRARY);
}

QString WebServer::Url() const {
  return QStringLiteral("http://%1:%2/").arg(settings_.listen.address).arg(settings_.listen.port);
}

bool WebServer::Start(QString* error) {
  mg_init_library(0);
  const QByteArray ports =
      settings_.listen.address.toLatin1() + ':' + QByteArray::number(settings_.listen.port);
  const QByteArray threads = QByteArray::number(kConnections);
  const QByteArray timeout = QByteArray::number(kTimeoutMs);
  const char* options[] = {
      "listening_ports", ports.constData(), "num_threads", threads.constData(),
      "request_timeout_ms", timeout.constData(), "keep_alive_timeout_ms", timeout.constData(),
      "linger_timeout_ms", "0", "enable_keep_alive", "yes",
      // The head and the body go out in two writes: no wait between them.
      "tcp_nodelay", "1", "max_request_size", "8192", "enable_directory_listing", "no", nullptr};
  mg_callbacks callbacks{};
  mg_error_data errorData{};
  char errorText[256] = {};
  errorData.text = errorText;
  errorData.text_buffer_size = sizeof errorText;
  mg_init_data init{};
  init.callbacks = &callbacks;
  init.user_data = this;
  init.configuration_options = options;
  stopping_ = false;
  context_ = mg_start2(&init, &errorData);
  if (!context_) {
    *error = QStringLiteral("cannot serve on %1:%2: %3")
                 .arg(settings_.listen.address)
                 .arg(settings_.listen.port)
                 .arg(QString::fromLocal8Bit(errorText));
    return false;
  }
  mg_set_request_handler(context_, "/", &WebServer::Handle, this);
  housekeeper_ = std::thread([this] { Housekeep(); });
  return true;
}

void WebServer::Stop() {
  if (!context_) return;
  stopping_ = true;
  view_.CloseAll();
  wake_.notify_all();
  mg_stop(context_);
  context_ = nullptr;
  if (housekeeper_.joinable()) housekeeper_.join();
}

void WebServer::Housekeep() {
  // The figures of the days that ended: at the start and after each midnight.
  QDate done;
  std::unique_lock<std::mutex> lock(wakeMutex_);
  while (!stopping_) {
    const QDate today = now_().date();
    if (today != done) {
      lock.unlock();
      figures_.Complete(today);
      lock.lock();
      done = today;
    }
    wake_.wait_for(lock, std::chrono::seconds(20), [this] { return stopping_.load(); });
  }
}

int WebServer::Handle(mg_connection* conn, void* self) {
  return static_cast<WebServer*>(self)->Serve(conn);
}

int WebServer::Serve(mg_connection* conn) {
  const mg_request_info* request = mg_get_request_info(conn);
  if (!settings_.user.isEmpty()) {
    const char* given = mg_get_header(conn, "Authorization");
    if (!given || !BasicAuthorized(given, settings_.user, settings_.password))
      return SendError(conn, 401, "WWW-Authenticate",
                       "Basic realm=\"SolarDesk\", charset=\"UTF-8\"");
  }
  if (qstrcmp(request->request_method, "GET") != 0) return SendError(conn, 405, "Allow", "GET");
  // The path as decoded, before and after the dot segments were taken out: a path that needed
  // cleaning ("/files/../x", "/files/%2e%2e/x") names nothing here.
  const QString uri = QString::fromUtf8(request->local_uri ? request->local_uri : "");
  const QString raw = QString::fromUtf8(request->local_uri_raw ? request->local_uri_raw : "");
  if (uri != raw) return SendError(conn, 404);

  for (const Asset& a : kAssets) {
    if (uri == QLatin1String(a.uri))
      return ServeFile(conn, (a.chartLibrary ? chartLibrary_ : assets_) + '/' + a.file, a.type);
  }
  if (uri == QLatin1String("/api/state")) return SendJson(conn, StateJson());
  if (uri == QLatin1String("/api/events")) return ServeEvents(conn);
  if (uri == QLatin1String("/api/days")) {
    const QUrlQuery query(QString::fromUtf8(request->query_string ? request->query_string : ""));
    const QDate today = now_().date();
    const QString fromText = query.queryItemValue(QStringLiteral("from"));
    const QString toText = query.queryItemValue(QStringLiteral("to"));
    const std::optional<QDate> to = toText.isEmpty() ? today : DateOf(toText);
    const std::optional<QDate> from =
        fromText.isEmpty() ? (to ? std::optional(to->addDays(1 - kDefaultDays)) : std::nullopt)
                           : DateOf(fromText);
    if (!from || !to || *from > *to || from->daysTo(*to) >= kMostDays) return SendError(conn, 400);
    return SendJson(conn, figures_.RangeJson(*from, *to, today));
  }
  if (uri.startsWith(QLatin1String("/api/day/"))) {
    const std::optional<QDate> day = DateOf(QStringView(uri).mid(9));
    if (!day) return SendError(conn, 404);
    return SendJson(conn, DayRecordsJson(dir_, *day));
  }
  if (uri.startsWith(QLatin1String("/api/clearsky/"))) {
    const std::optional<QDate> day = DateOf(QStringView(uri).mid(14));
    if (!day || !settings_.assumed.site) return SendError(conn, 404);
    return SendJson(conn, ClearSkyJson(*day));
  }
  if (uri.startsWith(QLatin1String("/files/"))) {
    const QString path = DayFilePath(dir_, uri.mid(7));
    if (path.isEmpty()) return SendError(conn, 404);
    return ServeFile(conn, path, "text/plain; charset=windows-1252");
  }
  return SendError(conn, 404);
}

int WebServer::ServeFile(mg_connection* conn, const QString& path, const char* type) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return SendError(conn, 404);
  // A day file grows while it is sent: what was there at the start goes out.
  const qint64 size = file.size();
  StartResponse(conn, 200, type, size);
  mg_response_header_send(conn);
  std::vector<char> buffer(64 * 1024);
  for (qint64 left = size; left > 0 && !stopping_;) {
    const qint64 got = file.read(buffer.data(), std::min<qint64>(left, buffer.size()));
    if (got <= 0 || mg_write(conn, buffer.data(), static_cast<size_t>(got)) <= 0) break;
    left -= got;
  }
  return 200;
}

int WebServer::ServeEvents(mg_connection* conn) {
  const std::shared_ptr<EventQueue> queue = view_.Subscribe(kEventReaders);
  if (!queue) return SendError(conn, 503, "Retry-After", "30");
  StartResponse(conn, 200, "text/event-stream", -1);
  Header(conn, "Connection", "close");
  mg_response_header_send(conn);
  bool open = mg_write(conn, "retry: 3000\n\n", 13) > 0;
  const auto last = view_.Snapshot().last;
  if (open && last) {
    const QByteArray line = "data: " + SampleJson(*last) + "\n\n";
    open = mg_write(conn, line.constData(), static_cast<size_t>(line.size())) > 0;
  }
  auto quiet = std::chrono::steady_clock::now();
  while (open && !stopping_ && !queue->Closed()) {
    QByteArray out;
    for (const QByteArray& line : queue->Take(kStopLook)) out += "data: " + line + "\n\n";
    if (out.isEmpty() && std::chrono::steady_clock::now() - quiet >= kKeepAlive) out = ": \n\n";
    if (out.isEmpty()) continue;
    open = mg_write(conn, out.constData(), static_cast<size_t>(out.size())) > 0;
    quiet = std::chrono::steady_clock::now();
  }
  view_.Unsubscribe(queue);
  return 200;
}

QByteArray WebServer::StateJson() const {
  const StationSnapshot s = view_.Snapshot();
  const QDateTime now = now_();
  QJsonObject o{{QLatin1String("status"), StatusText(s, now)},
                {QLatin1String("now"), Iso(now)},
                {QLatin1String("today"), now.date().toString(u"yyyy-MM-dd")},
                {QLatin1String("interval"), s.intervalSeconds},
                {QLatin1String("started"), Iso(s.started)},
                {QLatin1String("meter"), QLatin1String(MeterText(s.meter))}};
  o.insert(QLatin1String("meter_lost_since"),
           s.meterLostSince.isValid() ? QJsonValue(Iso(s.meterLostSince)) : QJsonValue());
  o.insert(QLatin1String("last"),
           s.last ? QJsonDocument::fromJson(SampleJson(*s.last)).object() : QJsonValue());
  QJsonObject broker{{QLatin1String("set"), s.brokerSet}};
  if (s.brokerSet) {
    broker.insert(QLatin1String("connected"), s.brokerConnected);
    broker.insert(QLatin1String("waiting"), static_cast<double>(s.waiting));
  }
  o.insert(QLatin1String("broker"), broker);
  const QStorageInfo disk(dir_);
  o.insert(QLatin1String("disk_free"),
           disk.isValid() ? QJsonValue(static_cast<double>(disk.bytesAvailable())) : QJsonValue());
  o.insert(QLatin1String("site"),
           settings_.assumed.site ? QJsonValue(SiteText(*settings_.assumed.site)) : QJsonValue());
  o.insert(QLatin1String("assumed"), assumed_);
  QJsonArray files;
  for (const QString& name : DayFileNames(dir_)) {
    files.append(QJsonObject{
        {QLatin1String("name"), name},
        {QLatin1String("size"), static_cast<double>(QFileInfo(dir_ + '/' + name).size())}});
  }
  o.insert(QLatin1String("files"), files);
  return Json(o);
}

QByteArray WebServer::ClearSkyJson(const QDate& day) const {
  // In the unit of the day's last reading, W/m2 when there is none yet.
  const auto last = view_.Snapshot().last;
  const IrradianceUnit unit = UnitOfText(last ? last->unit : QString());
  const qint64 start = day.startOfDay().toSecsSinceEpoch();
  const qint64 end = day.addDays(1).startOfDay().toSecsSinceEpoch();
  std::vector<qint64> instants;
  for (qint64 t = start; t <= end; t += kClearSkyStep) instants.push_back(t);
  const std::vector<double> values =
      ClearSkySeries(*settings_.assumed.site, instants, unit, settings_.assumed.clearSky);
  QJsonArray points;
  for (std::size_t i = 0; i < instants.size(); ++i)
    points.append(
        QJsonArray{static_cast<double>(instants[i] +
                                       QDateTime::fromSecsSinceEpoch(instants[i]).offsetFromUtc()) *
                       1000.0,
                   values[i]});
  const QString unitText = unit == IrradianceUnit::BtuPerSquareFootHour
                               ? QStringLiteral("Btu/(ft)2.h")
                               : QStringLiteral("W/(M)2");
  return Json(QJsonObject{{QLatin1String("unit"), UnitSymbol(unitText)},
                          {QLatin1String("points"), points}});
}

}  // namespace solardesk::station::web
