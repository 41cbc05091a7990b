#pragma once

namespace solardesk::cmd {

// Command classes (byte 1 of every output report).
inline constexpr unsigned kAction = 0x01;  // action or setting: no answer is read
inline constexpr unsigned kQuery = 0x02;   // query: one or more answers are read

// Queries (class 0x02), byte 2.
inline constexpr unsigned kQueryDisplay = 0x01;
inline constexpr unsigned kQuerySettings = 0x02;  // logging interval and calibration
inline constexpr unsigned kQueryClock = 0x03;
inline constexpr unsigned kQueryLoggerStatus = 0x04;
inline constexpr unsigned kQuerySetCount = 0x06;
inline constexpr unsigned kQuerySetData = 0x07;   // byte 3: set number; answered in 64-byte blocks
inline constexpr unsigned kQuerySetEntry = 0x08;  // byte 3: set number
inline constexpr unsigned kQueryCycling = 0x09;
inline constexpr unsigned kQueryReservation = 0x0A;

// Keys (class 0x01), byte 2.
inline constexpr unsigned kKeyTime = 0x01;
inline constexpr unsigned kKeyHold = 0x02;
inline constexpr unsigned kKeyMaxMin = 0x03;
inline constexpr unsigned kKeySet = 0x04;
inline constexpr unsigned kKeyPower = 0x05;
inline constexpr unsigned kKeyUnit = 0x06;
inline constexpr unsigned kKeyEnter = 0x07;
inline constexpr unsigned kKeyZero = 0x08;
inline constexpr unsigned kKeyMem = 0x09;
inline constexpr unsigned kKeyUp = 0x0A;
inline constexpr unsigned kKeyDown = 0x0B;
inline constexpr unsigned kKeyRead = 0x0C;
inline constexpr unsigned kKeyMaxMinLong = 0x0D;
inline constexpr unsigned kKeyMemLong = 0x0E;
inline constexpr unsigned kKeyOnOff = 0x11;

// Settings (class 0x01), byte 2.
inline constexpr unsigned kSetInterval = 0x0F;  // byte 3: seconds 1..60
inline constexpr unsigned kEraseLogger = 0x10;
inline constexpr unsigned kSetClock = 0x12;        // bytes 3..8: yy mm dd hh mm ss as numbers
inline constexpr unsigned kSetCalibration = 0x13;  // byte 3 low, byte 4 high
inline constexpr unsigned kSetCycling = 0x14;      // bytes 3..8
inline constexpr unsigned kSetReservation = 0x15;  // bytes 3..14
inline constexpr unsigned kEraseLoggerAlt = 0x16;

// Default identifiers of the meter, as hexadecimal texts.
inline constexpr const char* kDefaultVendorText = "483";
inline constexpr const char* kDefaultProductText = "5750";

// How long a read waits for the meter, in milliseconds.
inline constexpr int kReadTimeoutMs = 2000;

}  // namespace solardesk::cmd
