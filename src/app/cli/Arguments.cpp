#include "Arguments.h"

namespace solardesk::cli {

std::optional<QString> Arguments::Value(const QString& name) {
  const qsizetype i = args_.indexOf(name);
  if (i < 0) return QString();
  if (i + 1 >= args_.size()) {
    malformed_ = true;
    problem_ = name + QStringLiteral(" needs a value");
    args_.removeAt(i);
    return std::nullopt;
  }
  const QString v = args_[i + 1];
  args_.remove(i, 2);
  return v;
}

std::optional<long long> Arguments::Count(const QString& name) {
  const auto v = Value(name);
  if (!v) return std::nullopt;
  if (v->isEmpty()) return 0;
  bool ok = false;
  const long long n = v->toLongLong(&ok);
  if (!ok || n < 1) {
    malformed_ = true;
    problem_ = name + QStringLiteral(" needs a whole number from 1 on");
    return std::nullopt;
  }
  return n;
}

bool Arguments::Flag(const QString& name) {
  return args_.removeAll(name) > 0;
}

std::optional<QString> Arguments::Next() {
  if (args_.isEmpty()) return std::nullopt;
  return args_.takeFirst();
}

QStringList Arguments::Rest() {
  QStringList rest;
  rest.swap(args_);
  return rest;
}

QString Arguments::Error(const QString& usage) const {
  if (!problem_.isEmpty()) return problem_ + QStringLiteral("; usage: ") + usage;
  if (!args_.isEmpty())
    return QStringLiteral("unexpected \"%1\"; usage: %2").arg(args_.first(), usage);
  return QStringLiteral("usage: ") + usage;
}

}  // namespace solardesk::cli
