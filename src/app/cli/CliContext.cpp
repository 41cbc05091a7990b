#include "CliContext.h"

#include <cstdio>

#include "link/Commands.h"

namespace solardesk::cli {

std::atomic<bool> CliContext::stopRequested{false};

CliContext::CliContext(HidBackend& backend, Clock& clock)
    : clock_(clock), instrument_(backend, clock, dialogs_), out_(stdout) {}

int CliContext::Fail(const QString& message, int code) {
  out_.flush();
  std::fprintf(stderr, "solardesk-cli: %s\n", qPrintable(message));
  std::fflush(stderr);
  return code;
}

void CliContext::WriteRaw(const QByteArray& bytes) {
  out_.flush();
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
  std::fflush(stdout);
}

bool CliContext::Connect() {
  if (link().MeterConnected() || link().LocateMeter()) return true;
  const QString ids =
      QStringLiteral("vendor %1, product %2").arg(link().vendorIdText, link().productIdText);
  if (link().AccessDenied()) {
    Fail(QStringLiteral(
             "a meter (%1) was found but cannot be opened (permission denied); install the "
             "udev rule packaging/70-solardesk-meter.rules as the README says")
             .arg(ids));
  } else {
    Fail(QStringLiteral("no meter found (%1)").arg(ids));
  }
  return false;
}

bool CliContext::Query(unsigned code, const std::vector<unsigned>& parameters) {
  if (!Connect()) return false;
  instrument_.byteSlots.setCommand(cmd::kQuery, code);
  instrument_.byteSlots.setParameters(3, parameters);
  link().TransactReport();
  if (!link().MeterConnected()) {
    Fail(kNotAnswering);
    return false;
  }
  return true;
}

bool CliContext::Send(unsigned code, const std::vector<unsigned>& parameters) {
  if (!Connect()) return false;
  instrument_.byteSlots.setCommand(cmd::kAction, code);
  instrument_.byteSlots.setParameters(3, parameters);
  link().SendOutputReport();
  return true;
}

bool CliContext::Exchange(const std::function<void()>& exchange, bool answerExpected) {
  if (!Connect()) return false;
  exchange();
  // A later write may have found the meter again although nothing was ever answered.
  if (!link().MeterConnected() || (answerExpected && !link().EverAnswered())) {
    Fail(kNotAnswering);
    return false;
  }
  return true;
}

bool CliContext::StartTrace(const QString& path) {
  trace_ = std::make_unique<QFile>(path);
  if (!trace_->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) return false;
  link().onTraffic = [this](char direction, const std::vector<std::uint8_t>& report) {
    QByteArray line = clock_.now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")).toLatin1();
    line += ' ';
    line += direction;
    for (std::uint8_t b : report)
      line += ' ' + QByteArray::number(b, 16).rightJustified(2, '0').toUpper();
    line += '\n';
    trace_->write(line);
    trace_->flush();
  };
  return true;
}

}  // namespace solardesk::cli
