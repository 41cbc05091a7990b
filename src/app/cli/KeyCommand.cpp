#include "KeyCommand.h"

#include <QThread>

#include "panel/logic/FrontPanelKeys.h"

namespace solardesk::cli {
namespace {

struct KeyName {
  const char* name;
  KeyId key;
};

constexpr KeyName kKeyNames[] = {
    {"on-off", KeyId::OnOff}, {"time", KeyId::Time},   {"hold", KeyId::Hold},
    {"mxmn", KeyId::MxMn},    {"set", KeyId::Set},     {"power", KeyId::Power},
    {"unit", KeyId::Unit},    {"enter", KeyId::Enter}, {"zero", KeyId::Zero},
    {"mem", KeyId::Mem},      {"up", KeyId::Up},       {"down", KeyId::Down},
    {"read", KeyId::Read},
};

// A little over the two seconds that make a press long, so that the clock's rounding cannot
// turn the hold into a short press.
constexpr unsigned long kLongHoldMs = 2100;

}  // namespace

int RunKey(CliContext& cli, const QStringList& args) {
  Arguments a(args);
  const bool longPress = a.Flag(QStringLiteral("--long"));
  const std::optional<QString> name = a.Next();
  if (!name || !a.Done()) return cli.UsageError(a);
  const KeyName* found = nullptr;
  for (const KeyName& k : kKeyNames) {
    if (*name == QLatin1String(k.name)) found = &k;
  }
  if (!found) {
    QStringList names;
    for (const KeyName& k : kKeyNames) names << QString::fromLatin1(k.name);
    return cli.Fail(QStringLiteral("unknown key %1; the keys are %2")
                        .arg(*name, names.join(QStringLiteral(", "))),
                    kUsage);
  }

  FrontPanelKeys keys(cli.instrument());
  std::optional<unsigned> sent;
  // Only MEM asks the meter something (its set count) before it sends its code.
  const bool asks = found->key == KeyId::Mem;
  const bool delivered = cli.Exchange(
      [&] {
        keys.Press(found->key);
        if (longPress) QThread::msleep(kLongHoldMs);
        sent = keys.Release(found->key);
      },
      asks);
  if (!delivered) return kNoData;
  if (!sent) {
    return cli.Fail(QStringLiteral("the logger holds %1 record sets; the meter takes no MEM press "
                                   "from %2 sets on")
                        .arg(cli.instrument().LoggerSetCount)
                        .arg(kMaxLoggerSets));
  }
  return kOk;
}

}  // namespace solardesk::cli
