// Headers every test program includes, compiled once for all of them: GoogleTest, QtTest and the
// Qt and QCustomPlot headers of the programs' own precompiled header. Without it, parsing them
// again is most of the time of every test file, twice a run (normal and sanitizer build).
#pragma once

#include "Precompiled.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
