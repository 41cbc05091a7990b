#include <gtest/gtest.h>

#include <cmath>

#include "analysis/ClearSky.h"
#include "analysis/ClearSkyModel.h"
#include "analysis/Transposition.h"
#include "data/SampleTime.h"

namespace solardesk::testing {
namespace {

// pvlib's published fixtures of tests/test_irradiance.py: Tucson on 2014-06-24 at 06:00, 12:00
// and 18:00 UTC-7 ("irrad_data", "ephem_data" apparent zenith and azimuth, "relative_airmass",
// "dni_et"), for a plane tilted 40° facing south.
SunAndSky Fixture(int row) {
  const struct {
    double ghi, dni, dhi, zenith, azimuth, airMass;
  } rows[] = {{79.73860422, 316.1949056, 40.46149818, 82.85457044, 66.71410338, 7.58831596},
              {1042.48031487, 939.95469881, 118.45831879, 10.56413562, 144.76567754, 1.01688136},
              {257.20751138, 646.22886049, 62.03376265, 72.41687122, 287.04104128, 3.27930443}};
  const auto& r = rows[row];
  return {r.zenith, r.azimuth, {r.ghi, r.dni, r.dhi}, 1321.1655834833093, r.airMass};
}

// Expected values: test_isotropic_series, test_haydavies (4 decimals) and the sky diffuse,
// direct, ground-reflected ("sand", albedo 0.4) and global parts of test_poa_components, which
// transposes by Perez. In the morning the Sun (azimuth 67°, ENE) is behind the plane.
TEST(Transposition, PublishedPlaneOfArrayTables) {
  const struct {
    double isotropic, hayDavies, perez, direct, ground, global;
  } expected[] = {{35.728402, 27.1775, 31.4635077, 0, 3.73105791, 35.19456561},
                  {104.601328, 102.9949, 109.08433162, 798.31939281, 48.77881252, 956.18253696},
                  {54.777191, 33.1909, 45.45978964, 33.50143401, 12.03502531, 90.99624896}};
  const Site plane{32.2, -111, 700, 40, 180, 0.4};
  for (int row = 0; row < 3; ++row) {
    const SunAndSky sun = Fixture(row);
    const auto& e = expected[row];
    EXPECT_NEAR(SkyDiffuse(SkyDiffuseModel::Isotropic, 40, 180, sun), e.isotropic, 1e-6) << row;
    EXPECT_NEAR(SkyDiffuse(SkyDiffuseModel::HayDavies, 40, 180, sun), e.hayDavies, 1e-4) << row;
    const PlaneIrradiance p = PlaneOfArray(SkyDiffuseModel::Perez, plane, sun);
    EXPECT_NEAR(p.skyDiffuse, e.perez, 1e-7) << row;
    EXPECT_NEAR(p.direct, e.direct, 1e-7) << row;
    EXPECT_NEAR(p.groundReflected, e.ground, 1e-7) << row;
    EXPECT_NEAR(p.global, e.global, 1e-7) << row;
  }
  // test_get_ground_diffuse_simple_float (albedo 0.25) and test_isotropic_float.
  EXPECT_NEAR(GroundReflected(40, 900, 0.25), 26.32000014911496, 1e-9);
  EXPECT_NEAR(SkyDiffuse(SkyDiffuseModel::Isotropic, 40, 0, {0, 0, {0, 0, 100}}), 88.30222215594891,
              1e-9);
}

// pvlib's test_perez_negative_horizon: Goodwin Creek on 2019-01-01 afternoon, a plane tilted
// 34° facing south, I0 1414; the sky's clearness falls in five different classes, and the
// horizon band takes light away.
TEST(Transposition, PerezAcrossClearnessClasses) {
  const struct {
    double dni, dhi, zenith, azimuth, airMass, expected;
  } rows[] = {{158, 249, 57.746951, 171.003315, 1.869315, 281.410185},
              {19, 165, 57.564205, 187.346924, 1.859981, 152.20879},
              {1, 136, 60.813841, 202.974357, 2.044429, 123.867898},
              {0, 93, 66.989435, 216.725599, 2.544943, 82.836412},
              {0, 50, 75.353368, 228.317233, 3.900136, 43.517015}};
  for (const auto& r : rows) {
    const SunAndSky sun{r.zenith, r.azimuth, {0, r.dni, r.dhi}, 1414, r.airMass};
    EXPECT_NEAR(SkyDiffuse(SkyDiffuseModel::Perez, 34, 180, sun), r.expected, 1e-5) << r.zenith;
  }
  // No diffuse light, none on the plane (the clearness is not defined then).
  EXPECT_EQ(SkyDiffuse(SkyDiffuseModel::Perez, 34, 180, {30, 180, {900, 900, 0}, 1414, 1.15}), 0);
}

TEST(ClearSkyModel, ChoiceNamesAndRefusals) {
  Site flat{48.1, 11.6, 520};
  Site tilted = flat;
  tilted.tilt = 35;
  EXPECT_EQ(DefaultClearSkyModel(flat, false), ClearSkyModel::Haurwitz);
  EXPECT_EQ(DefaultClearSkyModel(flat, true), ClearSkyModel::Ineichen);
  EXPECT_EQ(DefaultClearSkyModel(tilted, false), ClearSkyModel::Ineichen);

  ClearSkyOptions haurwitz;
  EXPECT_FALSE(ClearSkyRefusal(flat, haurwitz));
  const std::optional<QString> refusal = ClearSkyRefusal(tilted, haurwitz);
  ASSERT_TRUE(refusal);
  EXPECT_TRUE(refusal->contains(QStringLiteral("--model ineichen"))) << refusal->toStdString();
  ClearSkyOptions hazy{ClearSkyModel::Ineichen, 0};
  EXPECT_EQ(ClearSkyRefusal(tilted, hazy),
            QStringLiteral("Linke turbidity 0 is not within 1 to 10"));
  hazy.linkeTurbidity = 10;
  EXPECT_FALSE(ClearSkyRefusal(tilted, hazy));

  for (const ClearSkyModel m : {ClearSkyModel::Haurwitz, ClearSkyModel::Ineichen})
    EXPECT_EQ(ClearSkyModelNamed(ClearSkyModelName(m)), m);
  for (const SkyDiffuseModel m :
       {SkyDiffuseModel::Isotropic, SkyDiffuseModel::HayDavies, SkyDiffuseModel::Perez})
    EXPECT_EQ(SkyDiffuseModelNamed(SkyDiffuseModelName(m)), m);
  EXPECT_EQ(ClearSkyModelNamed(u" Ineichen "), ClearSkyModel::Ineichen);
  EXPECT_EQ(SkyDiffuseModelNamed(u"hay-davies"), std::nullopt);
  EXPECT_EQ(ClearSkyModelNamed(u""), std::nullopt);
}

// A sensor upright and facing north at 48° N in June: the Sun stands behind it from mid-morning
// to mid-afternoon, so the plane gets no beam then, only sky and ground; at dawn and dusk the
// Sun is north of east and west and shines on it.
TEST(ClearSkyModel, SunBehindAnUprightSensorAndTheSeriesAlongIt) {
  Site wall{48.1, 11.6, 520, 90, 0, 0.2};
  ClearSkyOptions options{ClearSkyModel::Ineichen};
  const qint64 midnight = DaysFromCivil(2026, 6, 21) * kSecondsPerDay;
  const ClearSkyIrradiance noon = ClearSkyAt(wall, options, midnight + 11 * 3600 + 15 * 60);
  EXPECT_EQ(noon.plane.direct, 0);
  EXPECT_NEAR(noon.plane.groundReflected, noon.horizontal.ghi * 0.2 / 2, 1e-9);
  EXPECT_GT(noon.plane.skyDiffuse, 0);
  EXPECT_GT(ClearSkyAt(wall, options, midnight + 4 * 3600).plane.direct, 50);

  // The series between whole minutes keeps to each instant's own irradiance.
  std::vector<qint64> instants;
  for (qint64 t = midnight + 3 * 3600 + 7; t < midnight + 20 * 3600; t += 997)
    instants.push_back(t);
  const std::vector<double> series =
      ClearSkySeries(wall, instants, IrradianceUnit::WattsPerSquareMetre, options);
  for (std::size_t i = 0; i < instants.size(); ++i)
    EXPECT_NEAR(series[i], ClearSkyAt(wall, options, instants[i]).plane.global, 0.05) << i;
}

}  // namespace
}  // namespace solardesk::testing
