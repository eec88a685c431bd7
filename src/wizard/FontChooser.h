#pragma once

#include "generate/Html_converter.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLabel;
class QPushButton;

// Font dialog with effects and a colour, limited to a range of sizes.
class FontChooser final : public QDialog
{
    Q_OBJECT

public:
    explicit FontChooser(QWidget *parent = nullptr);

    void set_sizes(int smallest, int largest);
    void set_choice(const FontSpec &font, qint32 color);
    FontSpec font_choice() const;
    qint32 color_choice() const { return m_color; }

private:
    void choose_color();
    void update_sample();

    QFontComboBox *m_family;
    QComboBox *m_size;
    QCheckBox *m_bold;
    QCheckBox *m_italic;
    QCheckBox *m_underline;
    QCheckBox *m_strikethrough;
    QPushButton *m_color_button;
    QLabel *m_sample;
    qint32 m_color = 0;
    // The family given, while the list shows it or what stands in for it.
    QString m_kept_family;
};
