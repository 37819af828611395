#include "png_charts.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>

#include <iostream>

#include "chart_painter.h"
#include "documents.h"

namespace kvpaint {
namespace {

// The platform's chatter (run-time directory and the like) is no message
// of ours; only fatal errors get through.
void QuietQt(QtMsgType type, const QMessageLogContext&, const QString& msg) {
  if (type == QtFatalMsg || type == QtCriticalMsg)
    std::cerr << "kvlove: " << msg.toStdString() << "\n";
}

int guiArgc = 1;
char guiName[] = "kvlove";
char* guiArgv[] = {guiName, nullptr};

// The year labels need fonts, and fonts need a GUI application; kvlove
// never opens a window.
std::unique_ptr<QGuiApplication> OffscreenApplication() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietQt);
  return std::make_unique<QGuiApplication>(guiArgc, guiArgv);
}

class Charts : public PngCharts {
 public:
  kv::ChartCanvas& Canvas(int pass) override { return pass == 1 ? upper_ : lower_; }
  std::string Png(int pass) override {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!(pass == 1 ? upper_ : lower_).Image().save(&buffer, "PNG")) return {};
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  }
  std::string ReportPdf(const std::string& pageFile, const std::string& pdfFile) override {
    QString error;
    const auto doc = ReportDocument(QString::fromStdString(pageFile), &error);
    if (doc) error = WritePdf(*doc, QString::fromStdString(pdfFile));
    return error.toStdString();
  }
  std::string CompatPdf(const kv::CompatInputs& in, const kv::TScanPoints& upper,
                        const kv::TScanPoints& lower, const std::string& pdfFile) override {
    return WritePdf(*CompatDocument(in, upper, lower), QString::fromStdString(pdfFile))
        .toStdString();
  }

 private:
  std::unique_ptr<QGuiApplication> gui_ = OffscreenApplication();  // before the painters
  ChartPainter upper_, lower_;
};

}  // namespace
}  // namespace kvpaint

extern "C" __attribute__((visibility("default"))) kvpaint::PngCharts* kvlove_make_png_charts() {
  return new kvpaint::Charts;
}
