#pragma once

#include "HidDevice.h"

namespace solardesk {

// Real meters through hidapi (the hidraw back end on Linux).
class HidApiBackend final : public HidBackend {
 public:
  HidApiBackend();
  ~HidApiBackend() override;
  std::vector<HidDeviceInfo> enumerate() override;
  std::unique_ptr<HidDevice> open(const std::string& path, OpenError* error) override;
};

}  // namespace solardesk
