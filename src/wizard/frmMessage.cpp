#include "frmMessage.h"

#include "Artwork.h"
#include "DialogKeys.h"
#include "WizardButtons.h"

#include "controls/WizardButtonLook.h"

#include <QLabel>
#include <QScreen>
#include <QTextBoundaryFinder>

namespace {

int px(double twips)
{
    return qRound(twips / 15.0);
}

struct ButtonText
{
    const char *name;
    const char *caption;
    const char *word;
};

// In the order of MessageLayout::Button.
const ButtonText kButtons[MessageLayout::ButtonCount] = {
    { "cmdYes", "Yes", "yes" },
    { "CmdNo", "No", "no" },
    { "CmdOk", "Ok", "ok" },
    { "cmdCancel", "Cancel", "cancel" },
    { "cmdOverwrite", "OverWrite", "overwrite" },
    { "cmdOverwriteAll", "OverwriteAll", "overwriteall" },
    { "cmdSkipAll", "SkipAll", "skipall" },
};

QFont message_font()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9.75);
    font.setBold(true);
    return font;
}

// `text` with a break allowed between any two characters of each piece
// (what lies between two places a line may end) wider than `width` pixels,
// so that a long file or host name wraps instead of being cut.
QString breakable(const QString &text, const QFontMetrics &metrics, int width)
{
    QString result;
    QTextBoundaryFinder lines(QTextBoundaryFinder::Line, text);
    for (qsizetype start = 0, end = lines.toNextBoundary(); end != -1; start = end, end = lines.toNextBoundary()) {
        const QString piece = text.mid(start, end - start);
        if (metrics.horizontalAdvance(piece.trimmed()) <= width) {
            result += piece;
            continue;
        }
        QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, piece);
        for (qsizetype from = 0, to = characters.toNextBoundary(); to != -1;
             from = to, to = characters.toNextBoundary())
            result += (from > 0 ? QString(QChar(0x200B)) : QString()) + piece.mid(from, to - from);
    }
    return result;
}

} // namespace

frmMessage::frmMessage(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , lblMessage(new QLabel(this))
    , img(new QLabel(this))
    , m_keys(new DialogKeys(this, nullptr))
{
    setObjectName(QStringLiteral("frmMessage"));
    setWindowTitle(QStringLiteral("Tressel"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(84, 150, 203));
    setPalette(palette);

    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setFont(message_font());
    lblMessage->setWordWrap(true);
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblMessage->setTextFormat(Qt::PlainText);
    QPalette text = lblMessage->palette();
    text.setColor(QPalette::WindowText, QColor(0, 0, 192));
    lblMessage->setPalette(text);
    img->setObjectName(QStringLiteral("img"));
    img->setGeometry(0, px(120), px(645), px(675));
    img->setAlignment(Qt::AlignCenter);

    WizardButtonLook look;
    look.HoverColorLocks = 2;
    for (int i = 0; i < MessageLayout::ButtonCount; ++i) {
        gxButtons_H *button = make_button(this, kButtons[i].name, QString::fromLatin1(kButtons[i].caption));
        look.applyTo(*button);
        QFont font = WizardButtonLook::font(9);
        font.setBold(true);
        button->set_Font(font);
        button->hide();
        const QString word = QString::fromLatin1(kButtons[i].word);
        connect(button, &gxButtons_H::Click, this, [this, word] {
            m_result = word;
            accept();
        });
        m_buttons[i] = button;
    }
}

QSize frmMessage::text_size(const QString &text, int width) const
{
    // As the label draws its text: wrapped at word boundaries.
    return QFontMetrics(lblMessage->font())
        .boundingRect(QRect(0, 0, width, 1 << 20), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text)
        .size();
}

double frmMessage::text_width(const QString &text) const
{
    return text_size(text, 1 << 20).width() * 15.0;
}

void frmMessage::prepare(const QString &text, int buttons, int icon, bool escape_closes)
{
    m_result.clear();
    // The box keeps its layout rules; a text they would cut makes it wider
    // or taller, so every word shows. A word still too wide for the widest
    // box the screen allows breaks between its letters.
    QString drawn = text;
    const auto wrapped = [this, &drawn](double width) { return QSizeF(text_size(drawn, px(width))) * 15.0; };
    const double widest = (screen()->availableGeometry().width() - 16) * 15.0;
    MessageLayout layout = MessageLayout::fitted(text_width(text), buttons, wrapped, widest);
    if (wrapped(layout.label_width).width() > layout.label_width) {
        drawn = breakable(text, QFontMetrics(lblMessage->font()), px(layout.label_width));
        layout = MessageLayout::fitted(text_width(text), buttons, wrapped, widest);
    }
    lblMessage->setText(drawn);
    setFixedSize(px(layout.inner_width()), px(layout.inner_height()));
    lblMessage->setGeometry(
        px(layout.label_left), px(layout.label_top), px(layout.label_width), px(layout.label_height));
    for (int i = 0; i < MessageLayout::ButtonCount; ++i) {
        m_buttons[i]->setGeometry(px(layout.button_left[i]), px(layout.button_top), px(MessageLayout::kButtonWidth),
            px(MessageLayout::kButtonHeight));
        m_buttons[i]->setVisible(layout.shown.contains(static_cast<MessageLayout::Button>(i)));
    }
    img->setPixmap(message_icon(icon));

    // Enter answers Ok or Yes; Escape answers Cancel or No, and closes a
    // box that only tells something or that was asked to close on it.
    using B = MessageLayout::Button;
    const auto shown = [&](B button) { return layout.shown.contains(button) ? m_buttons[button] : nullptr; };
    gxButtons_H *escape = escape_closes ? nullptr : shown(B::Cancel) ? shown(B::Cancel) : shown(B::No);
    m_keys->set_buttons(shown(B::Ok) ? shown(B::Ok) : shown(B::Yes), escape);
}
