// Turns the user guide of README.md (its "## User guide" section, up to the next section of the
// same level) into one HTML page, with the screenshots beside it in "screenshots/":
//   solardesk-guide-html README.md user-guide.html
#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char** argv) {
  // Markdown needs no display; the offscreen platform spares the build one.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: solardesk-guide-html README.md OUT.html\n");
    return 2;
  }
  QFile in(QString::fromLocal8Bit(argv[1]));
  if (!in.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "solardesk-guide-html: cannot read %s\n", argv[1]);
    return 1;
  }
  const QString readme = QString::fromUtf8(in.readAll());
  const qsizetype start = readme.indexOf(QStringLiteral("\n## User guide"));
  if (start < 0) {
    std::fprintf(stderr, "solardesk-guide-html: no user guide in %s\n", argv[1]);
    return 1;
  }
  qsizetype end = readme.indexOf(QStringLiteral("\n## "), start + 1);
  if (end < 0) end = readme.size();
  QString guide = readme.mid(start + 1, end - start - 1);
  guide.replace(QStringLiteral("](docs/screenshots/"), QStringLiteral("](screenshots/"));
  guide.replace(QStringLiteral("## User guide"), QStringLiteral("# SolarDesk user guide"));
  QTextDocument document;
  document.setMarkdown(guide);
  document.setMetaInformation(QTextDocument::DocumentTitle, QStringLiteral("SolarDesk user guide"));
  QFile out(QString::fromLocal8Bit(argv[2]));
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      out.write(document.toHtml().toUtf8()) < 0 || !out.flush()) {
    std::fprintf(stderr, "solardesk-guide-html: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
