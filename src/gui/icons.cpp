#include "icons.h"

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>

namespace quillon {

namespace {

// Every picture is drawn on a 16 by 16 grid and scaled, so both sizes show the same shapes.
constexpr qreal kGrid = 16.0;

const QColor kOutline(60, 60, 60);
const QColor kFolderLight(255, 221, 110);
const QColor kFolderDark(222, 170, 40);
const QColor kArrowGreen(46, 150, 60);

QPixmap blank(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void begin(QPainter& painter, int size) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kGrid, size / kGrid);
}

QPen outlinePen() {
    QPen pen(kOutline);
    pen.setWidthF(0.8);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void drawFolder(QPainter& painter, bool open) {
    painter.setPen(outlinePen());
    // Back of the folder with its tab.
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6.0, 3.5);
    back.lineTo(7.5, 5.0);
    back.lineTo(14.5, 5.0);
    back.lineTo(14.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    painter.setBrush(kFolderDark);
    painter.drawPath(back);

    QLinearGradient light(0, 5, 0, 14);
    light.setColorAt(0, kFolderLight.lighter(110));
    light.setColorAt(1, kFolderLight);
    painter.setBrush(light);
    if (open) {
        // A sheet inside, then the front flap tilted forward.
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(3.5, 4.0, 9.0, 7.0));
        painter.setBrush(light);
        QPainterPath front;
        front.moveTo(3.5, 7.5);
        front.lineTo(15.5, 7.5);
        front.lineTo(13.0, 13.5);
        front.lineTo(1.5, 13.5);
        front.closeSubpath();
        painter.drawPath(front);
    } else {
        painter.drawRect(QRectF(1.5, 6.5, 13.0, 7.0));
    }
}

void drawPage(QPainter& painter, const QRectF& page, bool lines) {
    const qreal fold = page.width() * 0.35;
    QPainterPath sheet;
    sheet.moveTo(page.left(), page.top());
    sheet.lineTo(page.right() - fold, page.top());
    sheet.lineTo(page.right(), page.top() + fold);
    sheet.lineTo(page.right(), page.bottom());
    sheet.lineTo(page.left(), page.bottom());
    sheet.closeSubpath();
    painter.setPen(outlinePen());
    painter.setBrush(Qt::white);
    painter.drawPath(sheet);
    QPainterPath corner;
    corner.moveTo(page.right() - fold, page.top());
    corner.lineTo(page.right() - fold, page.top() + fold);
    corner.lineTo(page.right(), page.top() + fold);
    painter.setBrush(QColor(215, 215, 215));
    painter.drawPath(corner);
    if (!lines) return;
    QPen linePen(QColor(120, 140, 190));
    linePen.setWidthF(0.7);
    painter.setPen(linePen);
    for (qreal y = page.top() + fold + 1.5; y < page.bottom() - 1.0; y += 2.0)
        painter.drawLine(QPointF(page.left() + 1.5, y), QPointF(page.right() - 1.5, y));
}

void drawDisc(QPainter& painter, const QPointF& centre, qreal radius) {
    QRadialGradient shine(centre, radius, centre + QPointF(-radius / 3, -radius / 3));
    shine.setColorAt(0, QColor(250, 250, 255));
    shine.setColorAt(0.5, QColor(200, 215, 235));
    shine.setColorAt(0.8, QColor(230, 200, 240));
    shine.setColorAt(1, QColor(170, 180, 200));
    painter.setPen(outlinePen());
    painter.setBrush(shine);
    painter.drawEllipse(centre, radius, radius);
    painter.setBrush(QColor(235, 235, 235));
    painter.drawEllipse(centre, radius * 0.32, radius * 0.32);
    painter.setBrush(Qt::white);
    painter.drawEllipse(centre, radius * 0.12, radius * 0.12);
}

void drawMagnifier(QPainter& painter, const QPointF& lensCentre, qreal radius) {
    QPen handle(QColor(90, 60, 30));
    handle.setWidthF(2.2);
    handle.setCapStyle(Qt::RoundCap);
    painter.setPen(handle);
    const QPointF from = lensCentre + QPointF(radius * 0.7, radius * 0.7);
    painter.drawLine(from, from + QPointF(radius * 0.9, radius * 0.9));
    QPen rim(kOutline);
    rim.setWidthF(1.2);
    painter.setPen(rim);
    painter.setBrush(QColor(190, 225, 250, 210));
    painter.drawEllipse(lensCentre, radius, radius);
}

void drawCabinet(QPainter& painter) {
    QLinearGradient body(0, 0, 16, 0);
    body.setColorAt(0, QColor(120, 150, 200));
    body.setColorAt(1, QColor(70, 100, 160));
    painter.setPen(outlinePen());
    painter.setBrush(body);
    painter.drawRoundedRect(QRectF(2.5, 1.5, 11.0, 13.0), 1.0, 1.0);
    painter.setBrush(QColor(175, 195, 230));
    painter.drawRect(QRectF(4.0, 3.0, 8.0, 5.0));
    painter.drawRect(QRectF(4.0, 9.0, 8.0, 4.5));
    painter.setBrush(QColor(250, 250, 250));
    painter.drawRect(QRectF(6.5, 4.5, 3.0, 1.2));
    painter.drawRect(QRectF(6.5, 10.3, 3.0, 1.2));
}

void drawArrow(QPainter& painter, qreal angleDegrees) {
    painter.translate(8, 8);
    painter.rotate(angleDegrees);
    painter.translate(-8, -8);
    // Pointing right before the rotation.
    QPainterPath arrow;
    arrow.moveTo(14.5, 8.0);
    arrow.lineTo(8.5, 2.5);
    arrow.lineTo(8.5, 5.5);
    arrow.lineTo(1.5, 5.5);
    arrow.lineTo(1.5, 10.5);
    arrow.lineTo(8.5, 10.5);
    arrow.lineTo(8.5, 13.5);
    arrow.closeSubpath();
    QLinearGradient fill(0, 2, 0, 14);
    fill.setColorAt(0, kArrowGreen.lighter(140));
    fill.setColorAt(1, kArrowGreen);
    painter.setPen(outlinePen());
    painter.setBrush(fill);
    painter.drawPath(arrow);
}

void drawViews(QPainter& painter) {
    painter.setPen(outlinePen());
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            const QRectF cell(1.5 + column * 7.0, 1.5 + row * 7.0, 6.0, 6.0);
            painter.setBrush(Qt::white);
            painter.drawRect(cell);
            painter.setBrush(QColor(80, 120, 190));
            painter.drawRect(cell.adjusted(1.5, 1.5, -1.5, -2.5));
        }
    }
}

using Themed = std::array<const char*, 2>;

// Theme names per image, tried in order up to the first null; none at all where no standard icon fits.
constexpr std::array<Themed, kCatalogImageCount> kCatalogThemeNames{{
    {nullptr, nullptr},  // a catalog of catalogs has no standard icon
    {"media-optical", "drive-optical"},
    {"folder", nullptr},
    {"folder-open", nullptr},
    {"text-x-generic", "unknown"},
    {"system-search", "edit-find"},
}};

constexpr std::array<Themed, kToolbarImageCount> kToolbarThemeNames{{
    {"go-previous", nullptr},
    {"go-next", nullptr},
    {"go-up", nullptr},
    {"edit-find", "system-search"},
    {"folder", nullptr},
    {"view-list-icons", "view-grid"},
}};

QIcon themedOr(const Themed& names, const QIcon& ours) {
    for (const char* name : names) {
        if (!name) break;
        const QString themeName = QString::fromLatin1(name);
        if (QIcon::hasThemeIcon(themeName)) return QIcon::fromTheme(themeName);
    }
    return ours;
}

// The picture lit up: every colour a quarter of the way to white, transparency kept.
QPixmap hotPixmap(const QPixmap& normal) {
    QImage image = normal.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            const auto lift = [](int channel) { return channel + (255 - channel) / 4; };
            line[x] = qRgba(lift(qRed(pixel)), lift(qGreen(pixel)), lift(qBlue(pixel)), qAlpha(pixel));
        }
    }
    return QPixmap::fromImage(image);
}

template <typename Draw>
QIcon bothSizes(Draw draw) {
    QIcon icon;
    icon.addPixmap(draw(kSmallIconSize));
    icon.addPixmap(draw(kLargeIconSize));
    return icon;
}

}  // namespace

QPixmap drawnCatalogPixmap(int index, int size) {
    if (index < 0 || index >= kCatalogImageCount || size <= 0) return {};
    QPixmap pixmap = blank(size);
    QPainter painter(&pixmap);
    begin(painter, size);
    switch (CatalogImage(index)) {
        case CatalogImage::Root:
            drawCabinet(painter);
            break;
        case CatalogImage::Volume:
            drawDisc(painter, QPointF(8, 8), 6.8);
            break;
        case CatalogImage::Folder:
            drawFolder(painter, false);
            break;
        case CatalogImage::OpenFolder:
            drawFolder(painter, true);
            break;
        case CatalogImage::File:
            drawPage(painter, QRectF(3.0, 1.5, 10.0, 13.0), true);
            break;
        case CatalogImage::SearchResults:
            drawPage(painter, QRectF(1.5, 1.5, 9.0, 12.0), true);
            drawMagnifier(painter, QPointF(9.5, 9.0), 3.2);
            break;
    }
    return pixmap;
}

QIcon catalogIcon(int index) {
    if (index < 0 || index >= kCatalogImageCount) return {};
    return themedOr(kCatalogThemeNames[index],
                    bothSizes([index](int size) { return drawnCatalogPixmap(index, size); }));
}

QPixmap catalogPixmap(int index, int size) {
    const QIcon icon = catalogIcon(index);
    if (icon.isNull()) return {};
    QPixmap pixmap = icon.pixmap(size, size);
    // A theme may lack the size and hand back a smaller picture; the views need exactly this size.
    if (pixmap.width() != size || pixmap.height() != size) {
        QPixmap framed = blank(size);
        QPainter painter(&framed);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(QRect(0, 0, size, size), pixmap);
        return framed;
    }
    return pixmap;
}

QPixmap drawnToolbarPixmap(ToolbarImage image, int size) {
    const int index = int(image);
    if (index < 0 || index >= kToolbarImageCount || size <= 0) return {};
    QPixmap pixmap = blank(size);
    QPainter painter(&pixmap);
    begin(painter, size);
    switch (image) {
        case ToolbarImage::Back:
            drawArrow(painter, 180);
            break;
        case ToolbarImage::Forward:
            drawArrow(painter, 0);
            break;
        case ToolbarImage::Up:
            drawArrow(painter, -90);
            break;
        case ToolbarImage::Search:
            drawMagnifier(painter, QPointF(6.5, 6.5), 4.5);
            break;
        case ToolbarImage::Folders:
            drawFolder(painter, false);
            break;
        case ToolbarImage::Views:
            drawViews(painter);
            break;
    }
    return pixmap;
}

QIcon toolbarIcon(ToolbarImage image) {
    const int index = int(image);
    if (index < 0 || index >= kToolbarImageCount) return {};
    QIcon ours = bothSizes([image](int size) { return drawnToolbarPixmap(image, size); });
    // The hot image, shown while the mouse is over a flat toolbar button.
    for (int size : {kSmallIconSize, kLargeIconSize})
        ours.addPixmap(hotPixmap(drawnToolbarPixmap(image, size)), QIcon::Active);
    return themedOr(kToolbarThemeNames[index], ours);
}

QIcon applicationIcon() {
    return bothSizes([](int size) {
        QPixmap pixmap = blank(size);
        QPainter painter(&pixmap);
        begin(painter, size);
        drawCabinet(painter);
        painter.resetTransform();
        painter.scale(size / kGrid, size / kGrid);
        drawDisc(painter, QPointF(10.5, 10.5), 4.8);
        return pixmap;
    });
}

QPixmap splashPixmap() {
    QPixmap pixmap(kSplashWidth, kSplashHeight);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, kSplashHeight);
    sky.setColorAt(0, QColor(20, 50, 140));
    sky.setColorAt(1, QColor(5, 20, 70));
    painter.fillRect(pixmap.rect(), sky);

    // A few faint discs behind the name.
    painter.setPen(Qt::NoPen);
    const std::array<QPointF, 3> centres{QPointF(60, 60), QPointF(290, 70), QPointF(250, 190)};
    const std::array<qreal, 3> radii{70, 45, 60};
    for (std::size_t i = 0; i < centres.size(); ++i) {
        painter.setBrush(QColor(255, 255, 255, 18));
        painter.drawEllipse(centres[i], radii[i], radii[i]);
        painter.setBrush(QColor(20, 40, 110, 60));
        painter.drawEllipse(centres[i], radii[i] * 0.3, radii[i] * 0.3);
    }

    QFont title(QStringLiteral("Sans Serif"));
    title.setStyleHint(QFont::SansSerif);
    title.setPixelSize(54);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 50, kSplashWidth, 80), Qt::AlignCenter, QStringLiteral("Quillon"));

    QFont subtitle(QStringLiteral("Sans Serif"));
    subtitle.setStyleHint(QFont::SansSerif);
    subtitle.setPixelSize(14);
    painter.setFont(subtitle);
    painter.setPen(QColor(190, 205, 240));
    painter.drawText(QRect(0, 128, kSplashWidth, 24), Qt::AlignCenter, QStringLiteral("Version 1.5"));
    return pixmap;
}

}  // namespace quillon
