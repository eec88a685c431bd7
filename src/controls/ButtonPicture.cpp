#include "ButtonPicture.h"

#include <QFileInfo>

ButtonPicture ButtonPicture::fromBitmap(const QImage &image)
{
    ButtonPicture picture;
    if (!image.isNull()) {
        picture.m_kind = Kind::Bitmap;
        picture.m_bitmap = image.convertToFormat(QImage::Format_RGB32);
    }
    return picture;
}

ButtonPicture ButtonPicture::fromIcon(const QIcon &icon)
{
    ButtonPicture picture;
    if (!icon.isNull()) {
        picture.m_kind = Kind::Icon;
        picture.m_icon = icon;
    }
    return picture;
}

ButtonPicture ButtonPicture::fromFile(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("ico") || suffix == QLatin1String("cur")) {
        const QIcon icon(path);
        return icon.availableSizes().isEmpty() ? ButtonPicture() : fromIcon(icon);
    }
    return fromBitmap(QImage(path));
}

QSize ButtonPicture::size() const
{
    switch (m_kind) {
    case Kind::Bitmap:
        return m_bitmap.size();
    case Kind::Icon: {
        QSize largest;
        for (const QSize &available : m_icon.availableSizes()) {
            if (available.width() * available.height() > largest.width() * largest.height())
                largest = available;
        }
        // Icons drawn from a scalable source report no sizes; take a common one.
        return largest.isEmpty() ? QSize(32, 32) : largest;
    }
    case Kind::None:
        break;
    }
    return QSize(0, 0);
}

QImage ButtonPicture::copyAt(QSize target) const
{
    if (target.isEmpty())
        return QImage();
    switch (m_kind) {
    case Kind::Bitmap:
        return m_bitmap.scaled(target, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    case Kind::Icon: {
        QImage image = m_icon.pixmap(target).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (image.size() != target)
            image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return image;
    }
    case Kind::None:
        break;
    }
    return QImage();
}

bool ButtonPicture::operator==(const ButtonPicture &other) const
{
    if (m_kind != other.m_kind)
        return false;
    switch (m_kind) {
    case Kind::Bitmap:
        return m_bitmap.cacheKey() == other.m_bitmap.cacheKey() || m_bitmap == other.m_bitmap;
    case Kind::Icon:
        return m_icon.cacheKey() == other.m_icon.cacheKey();
    case Kind::None:
        break;
    }
    return true;
}
