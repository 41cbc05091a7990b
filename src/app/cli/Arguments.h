#pragma once

#include <QStringList>
#include <optional>

namespace solardesk::cli {

// The arguments of one command: named options ("--count N", "-o FILE", "--yes") taken out
// first, the positional arguments left in order.
class Arguments {
 public:
  explicit Arguments(QStringList args) : args_(std::move(args)) {}

  // "--name N" with N a whole number >= 0; 0 (meaning "no limit") when absent; nothing when
  // the value is missing or not such a number.
  std::optional<long long> Count(const QString& name);
  // "--name VALUE"; empty when absent; nothing when the value is missing.
  std::optional<QString> Value(const QString& name);
  // "--name" present.
  bool Flag(const QString& name);
  // "--name" among the arguments not taken yet (with or without a value).
  bool Has(const QString& name) const { return args_.contains(name); }
  // The next positional argument, or nothing.
  std::optional<QString> Next();
  // The positional arguments not taken yet.
  QStringList Rest();
  // True when nothing is left over and no option was malformed.
  bool Done() const { return args_.isEmpty() && !malformed_; }
  QString Error(const QString& usage) const;

 private:
  QStringList args_;
  bool malformed_ = false;
  QString problem_;
};

}  // namespace solardesk::cli
