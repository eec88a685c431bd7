#include "FontChooser.h"

#include "FontConversion.h"
#include "ScreenTabOrder.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FontChooser::FontChooser(QWidget *parent)
    : QDialog(parent)
    , m_family(new QFontComboBox(this))
    , m_size(new QComboBox(this))
    , m_bold(new QCheckBox(tr("Bold"), this))
    , m_italic(new QCheckBox(tr("Italic"), this))
    , m_underline(new QCheckBox(tr("Underline"), this))
    , m_strikethrough(new QCheckBox(tr("Strikeout"), this))
    , m_color_button(new QPushButton(this))
    , m_sample(new QLabel(tr("AaBbYyZz"), this))
{
    setWindowTitle(tr("Font"));
    setObjectName(QStringLiteral("FontChooser"));
    m_family->setObjectName(QStringLiteral("family"));
    m_size->setObjectName(QStringLiteral("size"));
    m_color_button->setObjectName(QStringLiteral("color"));
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setMinimumHeight(48);
    m_sample->setFrameShape(QFrame::StyledPanel);

    auto *form = new QFormLayout;
    form->addRow(tr("Font:"), m_family);
    form->addRow(tr("Size:"), m_size);
    form->addRow(tr("Color:"), m_color_button);
    auto *effects = new QVBoxLayout;
    for (QCheckBox *box : { m_bold, m_italic, m_underline, m_strikethrough }) {
        effects->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &FontChooser::update_sample);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(effects);
    layout->addWidget(m_sample);
    layout->addWidget(buttons);

    // Picking the family that stands in for the kept one takes it too.
    const auto picked = [this] {
        m_kept_family.clear();
        update_sample();
    };
    connect(m_family, &QFontComboBox::currentFontChanged, this, picked);
    connect(m_family, &QComboBox::activated, this, picked);
    connect(m_size, &QComboBox::currentIndexChanged, this, &FontChooser::update_sample);
    connect(m_color_button, &QPushButton::clicked, this, &FontChooser::choose_color);
    set_sizes(8, 24);
    ScreenTabOrder::follow(this);
}

void FontChooser::set_sizes(int smallest, int largest)
{
    const QString current = m_size->currentText();
    m_size->clear();
    for (int points : QFontDatabase::standardSizes()) {
        if (points >= smallest && points <= largest)
            m_size->addItem(QString::number(points), points);
    }
    const int at = m_size->findText(current);
    m_size->setCurrentIndex(at >= 0 ? at : 0);
}

void FontChooser::set_choice(const FontSpec &font, qint32 color)
{
    m_family->setCurrentFont(QFont(font.name));
    // A family this machine lacks is listed as the one standing in for it
    // here; the box still shows the name that will be written, and the name
    // stays unless the user picks a family.
    m_kept_family = font.name;
    if (!font.name.isEmpty())
        m_family->setEditText(font.name);
    int at = m_size->findData(qRound(font.size));
    if (at < 0) {
        // Keep a size the list does not offer, as the user had it.
        m_size->addItem(QString::number(font.size), font.size);
        at = m_size->count() - 1;
    }
    m_size->setCurrentIndex(at);
    m_bold->setChecked(font.bold);
    m_italic->setChecked(font.italic);
    m_underline->setChecked(font.underline);
    m_strikethrough->setChecked(font.strikethrough);
    m_color = color;
    update_sample();
}

FontSpec FontChooser::font_choice() const
{
    FontSpec font;
    font.name = m_kept_family.isEmpty() ? m_family->currentFont().family() : m_kept_family;
    font.size = m_size->currentData().toDouble();
    font.bold = m_bold->isChecked();
    font.italic = m_italic->isChecked();
    font.underline = m_underline->isChecked();
    font.strikethrough = m_strikethrough->isChecked();
    return font;
}

void FontChooser::choose_color()
{
    const QColor chosen = QColorDialog::getColor(to_qcolor(m_color), this);
    if (chosen.isValid()) {
        m_color = from_qcolor(chosen);
        update_sample();
    }
}

void FontChooser::update_sample()
{
    QFont base = m_sample->font();
    base.setPointSize(10);
    m_sample->setFont(to_qfont(font_choice(), base));
    QPalette palette = m_sample->palette();
    palette.setColor(QPalette::WindowText, to_qcolor(m_color));
    m_sample->setPalette(palette);
    m_color_button->setText(Html_converter::color_to_html(m_color));
}
