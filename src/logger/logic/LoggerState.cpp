#include "LoggerState.h"

namespace solardesk {

std::uint32_t LoggerState::SetLength(int set) const {
  return set > 0 && static_cast<std::size_t>(set) < lengths_.size() ? lengths_[set] : 0;
}

QString LoggerState::SetStartText(int set) const {
  return set > 0 && static_cast<std::size_t>(set) < startTexts_.size() ? startTexts_[set]
                                                                       : QString();
}

void LoggerState::SetEntry(int set, std::uint32_t length, const QString& startText) {
  if (set <= 0) return;
  const auto index = static_cast<std::size_t>(set);
  if (index >= lengths_.size()) {
    lengths_.resize(index + 1, 0);
    startTexts_.resize(index + 1);
  }
  if (lengths_[index] != length || startTexts_[index] != startText) decoded_.erase(set);
  lengths_[index] = length;
  startTexts_[index] = startText;
}

void LoggerState::SetDecoded(int set, const Decoded& decoded) {
  decoded_[set] = decoded;
}

std::optional<LoggerState::Decoded> LoggerState::DecodedSet(int set) const {
  const auto it = decoded_.find(set);
  if (it == decoded_.end()) return std::nullopt;
  return it->second;
}

}  // namespace solardesk
