#pragma once

#include <QIcon>
#include <QImage>
#include <QMetaType>
#include <QSize>
#include <QString>

// A picture a button shows or uses as its mouse pointer: a bitmap, drawn with
// the colour of its top-left pixel left out, or an icon (or cursor), drawn
// with its own transparency. A default-constructed picture is "none".
class ButtonPicture final
{
public:
    enum class Kind { None, Bitmap, Icon };

    ButtonPicture() = default;
    static ButtonPicture fromBitmap(const QImage &image);
    static ButtonPicture fromIcon(const QIcon &icon);
    // .ico and .cur files load as icons, every other image file as a bitmap;
    // a file that does not load gives none.
    static ButtonPicture fromFile(const QString &path);

    Kind kind() const { return m_kind; }
    bool isNone() const { return m_kind == Kind::None; }
    bool isIcon() const { return m_kind == Kind::Icon; }

    // The picture's own size in pixels (an icon's largest image); 0 x 0 for none.
    QSize size() const;

    // A copy at the given size: a bitmap stretched pixel for pixel (so its
    // transparent colour stays exact), an icon from its best-fitting image.
    // A null image when there is nothing to copy.
    QImage copyAt(QSize target) const;

    bool operator==(const ButtonPicture &other) const;

private:
    Kind m_kind = Kind::None;
    QImage m_bitmap;
    QIcon m_icon;
};

Q_DECLARE_METATYPE(ButtonPicture)
