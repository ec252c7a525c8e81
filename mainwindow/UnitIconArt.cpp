// Paints the unit icons: the unit drawing with a gauge that fills and turns
// from green to amber to red with the disk's use, and a paler grey copy for
// units outside the PC's subnet.

#include "mainwindow/UnitIconArt.h"

#include "mainwindow/BuiltInArt.h"
#include "mainwindow/core/IconLayout.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <utility>

namespace mainwindow {
namespace {

// The gauge's place in the 75 x 75 square (the unit drawing's: core/IconLayout.h).
const QRectF kGaugeFrame(52.5, 6.5, 18, 64);
constexpr int kGaugeSegments = kUsageLevels - 1; // level n fills n segments
const QColor kInk(0x3D, 0x48, 0x52);

QColor mix(const QColor& a, const QColor& b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// Blending along the hue keeps the in-between steps bright (an RGB blend of
// green and amber turns olive).
QColor hueMix(const QColor& a, const QColor& b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    auto lerp = [t](float x, float y) { return float(x + (y - x) * t); };
    return QColor::fromHsvF(lerp(a.hsvHueF(), b.hsvHueF()),
                            lerp(a.hsvSaturationF(), b.hsvSaturationF()),
                            lerp(a.valueF(), b.valueF()));
}

// Green while there is room, turning amber and then red as the disk fills.
QColor levelColour(int level)
{
    const QColor green(0x34, 0xB8, 0x5A);
    const QColor amber(0xF2, 0xA2, 0x1D);
    const QColor red(0xE0, 0x3E, 0x3E);
    if (level <= 12)
        return green;
    if (level <= 16)
        return hueMix(green, amber, (level - 12) / 4.0);
    return hueMix(amber, red, (level - 16) / 4.0);
}

QImage unitDrawing(qreal devicePixelRatio)
{
    QImage image = builtInArt("unit", devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) { // the gauge alone still tells the story
        const int side = devicePixelRatio > 1.0 ? 2 * kUnitIconSize : kUnitIconSize;
        image = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(side / double(kUnitIconSize));
        image.fill(Qt::transparent);
    }
    return image;
}

// Grey, paler copy for units outside the PC's subnet; converted in place, so
// no second buffer is made.
QImage dimmed(QImage image)
{
    image.convertTo(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            const int grey = 90 + qGray(p) * 150 / 255;
            line[x] = qRgba(grey, grey, grey, qAlpha(p) * 3 / 4);
        }
    }
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return image;
}

void drawGaugeFrame(QPainter& painter, bool outside)
{
    painter.setPen(QPen(outside ? QColor(0x8A, 0x94, 0x9E) : kInk, 1.2));
    painter.setBrush(QColor(0xF4, 0xF6, 0xF8));
    painter.drawRoundedRect(kGaugeFrame, 3, 3);
}

QRectF segmentRect(int i) // i = 0 is the bottom segment
{
    const QRectF inner = kGaugeFrame.adjusted(2.5, 2.5, -2.5, -2.5);
    const double pitch = inner.height() / kGaugeSegments;
    return {inner.left(), inner.bottom() - (i + 1) * pitch + 0.5, inner.width(), pitch - 1.0};
}

void drawLevel(QPainter& painter, int level, bool outside)
{
    QColor fill = levelColour(level);
    if (outside)
        fill = mix(fill, QColor(0xB8, 0xBE, 0xC4), 0.45);
    const QColor empty(0xDD, 0xE3, 0xE8);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < kGaugeSegments; ++i) {
        painter.setBrush(i < level ? fill : empty);
        painter.drawRect(segmentRect(i));
    }
}

// No free-space value: hatched gauge with a question mark.
void drawUnknown(QPainter& painter, bool outside)
{
    const QRectF inner = kGaugeFrame.adjusted(2.5, 2.5, -2.5, -2.5);
    painter.save();
    painter.setClipRect(inner);
    painter.setPen(QPen(QColor(0xC4, 0xCB, 0xD2), 1.6));
    const double hatchPitch = 5;
    for (int k = 0; - inner.width() + k * hatchPitch < inner.height(); ++k) {
        const double d = -inner.width() + k * hatchPitch;
        painter.drawLine(QPointF(inner.left(), inner.top() + d + inner.width()),
                         QPointF(inner.right(), inner.top() + d));
    }
    painter.restore();

    const QColor mark = outside ? QColor(0x7E, 0x88, 0x92) : QColor(0x4A, 0x78, 0xB8);
    const QPointF c = inner.center();
    QPainterPath hook;
    hook.moveTo(c + QPointF(-5, -7));
    hook.cubicTo(c + QPointF(-5, -14), c + QPointF(5, -14), c + QPointF(5, -7.5));
    hook.cubicTo(c + QPointF(5, -3), c + QPointF(0, -2.5), c + QPointF(0, 3));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(mark, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(hook);
    painter.setPen(Qt::NoPen);
    painter.setBrush(mark);
    painter.drawEllipse(c + QPointF(0, 9), 2.1, 2.1);
}

// Yellow warning triangle: the unit is not in the PC's subnet.
void drawWarningBadge(QPainter& painter)
{
    const QPointF top(13, 47);
    const QPointF left(1, 70);
    const QPointF right(25, 70);
    QPainterPath triangle;
    triangle.moveTo(top);
    triangle.lineTo(right);
    triangle.lineTo(left);
    triangle.closeSubpath();
    painter.setPen(QPen(QColor(0x5A, 0x45, 0x00), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(0xFF, 0xC8, 0x1E));
    painter.drawPath(triangle);
    painter.setPen(QPen(QColor(0x2B, 0x22, 0x00), 2.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(13, 54.5), QPointF(13, 61.5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2B, 0x22, 0x00));
    painter.drawEllipse(QPointF(13, 66), 1.6, 1.6);
}

// Painted in the square's own units; a doubled drawing doubles the strokes.
QImage composeIcon(QImage image, int index)
{
    const bool outside = index >= kOtherSubnetBlock;
    const int within = index % kOtherSubnetBlock;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawGaugeFrame(painter, outside);
    if (within == kNoFreeValueIcon)
        drawUnknown(painter, outside);
    else
        drawLevel(painter, within, outside);
    if (outside)
        drawWarningBadge(painter);
    return image;
}

bool validIndex(int index)
{
    return index >= 0 && index < kUnitIconCount;
}

} // namespace

QImage makeUnitIconImage(int index, qreal devicePixelRatio)
{
    if (!validIndex(index))
        return {};
    QImage unit = unitDrawing(devicePixelRatio);
    return composeIcon(index >= kOtherSubnetBlock ? dimmed(std::move(unit)) : std::move(unit),
                       index);
}

QList<QImage> makeUnitIconImages(qreal devicePixelRatio)
{
    const QImage inside = unitDrawing(devicePixelRatio);
    const QImage outside = dimmed(inside);
    QList<QImage> icons;
    icons.reserve(kUnitIconCount);
    for (int index = 0; index < kUnitIconCount; ++index)
        icons.append(composeIcon(index >= kOtherSubnetBlock ? outside : inside, index));
    return icons;
}

} // namespace mainwindow
