// Headers most translation units of a target include, compiled once per target. Which Qt modules
// a target links decides which of them go in (Qt defines QT_<MODULE>_LIB for each one linked), so
// one file serves the logic and the windows alike.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#ifdef QT_CORE_LIB
#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#endif

#ifdef QT_WIDGETS_LIB
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QPushButton>
#include <QWidget>
#endif

#ifdef QT_PRINTSUPPORT_LIB
#include <qcustomplot.h>
#endif
