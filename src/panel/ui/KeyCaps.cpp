#include "KeyCaps.h"

namespace solardesk {
namespace {

const QColor kGreen(0, 255, 0);
const QColor kLightBlue(128, 128, 255);
const QColor kOrange(255, 128, 0);
const QColor kGrey(128, 128, 128);
const QColor kWhite(255, 255, 255);
const QColor kClear(0, 0, 0, 0);

constexpr int kColumns[3] = {78, 183, 288};  // key centres, left to right
constexpr int kRows[4] = {364, 422, 480, 538};
constexpr int kDownRow = 584;

using Kind = KeyShape::Kind;

QRectF Centered(double cx, double cy, double w, double h) {
  return {cx - w / 2, cy - h / 2, w, h};
}

QRect Bounds(const std::vector<KeyShape>& shapes) {
  QRectF r;
  for (const auto& s : shapes) r = r.united(s.rect);
  return r.toAlignedRect();
}

// A key whose cap is a circle at the left end and a plate to its right, caption on the plate.
KeyCap HalfPill(KeyId id, const char* name, const char* labelBase, const char* caption, int col,
                int row, QColor color, Kind firstKind = Kind::Circle) {
  const double cx = kColumns[col], cy = kRows[row];
  KeyCap k{id, QString::fromLatin1(name), {}, {}, color, color, color};
  const double left = firstKind == Kind::Circle ? 30 : 40;
  k.shapes.push_back({firstKind, Centered(cx - 20, cy, left, 30)});
  k.shapes.push_back({Kind::Rect, QRectF(cx - 20, cy - 15, 52, 30)});
  const QString base = QString::fromLatin1(labelBase);
  k.labels.push_back({base + "(0)", QRect(cx - 18, cy - 10, 50, 20), QString::fromLatin1(caption),
                      kWhite, kClear});
  k.labels.push_back({base + "(1)", Bounds(k.shapes), QString(), kWhite, kClear});
  return k;
}

KeyCap Single(KeyId id, const char* name, const char* labelName, Kind kind, QRectF rect,
              QColor color, const char* caption = "") {
  KeyCap k{id, QString::fromLatin1(name), {{kind, rect}}, {}, color, color, color};
  k.labels.push_back({QString::fromLatin1(labelName), rect.toAlignedRect(),
                      QString::fromLatin1(caption), kWhite, kClear});
  return k;
}

}  // namespace

std::array<KeyCap, kKeyCount> MakeKeyCaps() {
  const double c0 = kColumns[0], c1 = kColumns[1], c2 = kColumns[2];

  KeyCap time{KeyId::Time, "TIME", {}, {}, kLightBlue, kLightBlue, kLightBlue};
  time.shapes = {{Kind::Rect, QRectF(c1 - 22, kRows[0] - 14, 44, 28)},
                 {Kind::Circle, Centered(c1 - 22, kRows[0], 28, 28)},
                 {Kind::Circle, Centered(c1 + 22, kRows[0], 28, 28)}};
  time.labels = {{"TimeBtn(0)", QRect(c1 - 20, kRows[0] - 10, 40, 20), "Time", kWhite, kClear},
                 {"TimeBtn(1)", Bounds(time.shapes), QString(), kWhite, kClear}};

  KeyCap hold{KeyId::Hold, "HOLD", {{Kind::Circle, Centered(c2, kRows[0], 40, 40)}}, {}, kOrange,
              kOrange,     kOrange};
  hold.labels = {{"HoldBtn(0)", QRect(c2 - 8, kRows[0] - 9, 16, 18), "H", kOrange, kWhite},
                 {"HoldBtn(1)", Bounds(hold.shapes), QString(), kWhite, kClear}};

  KeyCap set{KeyId::Set, "SET",  {{Kind::Circle, Centered(c1, kRows[1], 40, 40)}}, {}, kOrange,
             kOrange,    kOrange};
  set.labels = {{"SetBtn(0)", QRect(c1 - 16, kRows[1] - 9, 32, 18), "SET", kWhite, kClear},
                {"SetBtn(1)", Bounds(set.shapes), QString(), kWhite, kClear}};

  KeyCap power = HalfPill(KeyId::Power, "POWER", "PowerBtn", "POWER", 2, 1, kOrange, Kind::Oval);
  power.labels[0].rect = QRect(c2 - 24, kRows[1] - 10, 44, 20);
  power.labels[1] = {"PowerBtn(1)", QRect(c2 + 20, kRows[1] - 10, 12, 20), "%", kWhite, kClear};
  power.labels.push_back({"PowerBtn(2)", Bounds(power.shapes), QString(), kWhite, kClear});

  return {{
      Single(KeyId::OnOff, "ON/OFF", "OnOffBtn", Kind::Oval, Centered(c0, kRows[0], 50, 28),
             kGreen),
      time,
      hold,
      HalfPill(KeyId::MxMn, "MX/Mn", "MxMnBtn", "MX / Mn", 0, 1, kOrange),
      set,
      power,
      HalfPill(KeyId::Unit, "UNIT", "UnitBtn", "UNIT", 0, 2, kGrey),
      Single(KeyId::Enter, "ENTER", "EnterBtn", Kind::Oval, Centered(c1, kRows[2], 30, 44), kGrey),
      HalfPill(KeyId::Zero, "ZERO", "ZeroBtn", "ZERO", 2, 2, kGrey),
      HalfPill(KeyId::Mem, "MEM", "MemBtn", "MEM", 0, 3, kGrey),
      Single(KeyId::Up, "UP", "UpBtn", Kind::Oval, Centered(c1, kRows[3], 44, 26), kGrey),
      HalfPill(KeyId::Read, "READ", "ReadBtn", "READ", 2, 3, kGrey),
      Single(KeyId::Down, "DOWN", "DownBtn", Kind::Oval, Centered(c1, kDownRow, 44, 26), kGrey),
  }};
}

}  // namespace solardesk
