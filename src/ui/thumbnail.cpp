// A picture of the start of a page, drawn off-screen: the comparison of
// routes shows one beside each route's result.

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <QUrl>

namespace {

constexpr int kPageWidth = 800;
constexpr int kPageHeight = 1000;
constexpr int kThumbnailWidth = 240;

} // namespace

extern "C" Q_DECL_EXPORT int morvane_render_thumbnail(const char* page, const char* png) {
    // No screen is needed, nor wanted: batch mode has none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "morvane";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    const QString pagePath = QFile::decodeName(page);
    QFile file(pagePath);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    QTextDocument document;
    document.setBaseUrl(QUrl::fromLocalFile(QFileInfo(pagePath).absoluteFilePath()));
    document.setHtml(QString::fromUtf8(file.readAll()));
    document.setTextWidth(kPageWidth);
    QImage image(kPageWidth, kPageHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        document.drawContents(&painter, QRectF(0, 0, kPageWidth, kPageHeight));
    }
    const QImage thumbnail = image.scaledToWidth(kThumbnailWidth, Qt::SmoothTransformation);
    return thumbnail.save(QFile::decodeName(png), "PNG") ? 0 : 1;
}
