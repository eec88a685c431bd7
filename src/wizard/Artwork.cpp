#include "Artwork.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

QPixmap tressel_logo(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 64.0;
    // The page of a form, with three fields.
    p.setPen(QPen(QColor(40, 90, 150), 2 * s));
    p.setBrush(QColor(229, 243, 254));
    p.drawRoundedRect(QRectF(8 * s, 4 * s, 40 * s, 54 * s), 4 * s, 4 * s);
    p.setBrush(Qt::white);
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(14 * s, (12 + i * 13) * s, 28 * s, 7 * s));
    // The check mark the script gives a valid submission.
    QPainterPath check;
    check.moveTo(34 * s, 44 * s);
    check.lineTo(43 * s, 54 * s);
    check.lineTo(60 * s, 30 * s);
    p.setPen(QPen(QColor(30, 150, 60), 6 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(check);
    return pixmap;
}

QPixmap message_icon(int icon)
{
    QStyle *style = QApplication::style();
    switch (icon) {
    case 1:
        return style->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(39, 37);
    case 3:
        return style->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(41, 40);
    default:
        return style->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(43, 45);
    }
}

QLabel *logo_label(QWidget *parent, int size)
{
    auto *image = new QLabel(parent);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(tressel_logo(size));
    return image;
}

QLabel *product_name_label(QWidget *parent)
{
    auto *name = new QLabel(QStringLiteral("Tressel"), parent);
    name->setObjectName(QStringLiteral("Label2"));
    QFont big = name->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    name->setFont(big);
    return name;
}
