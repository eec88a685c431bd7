#include "frmAbout.h"

#include "Artwork.h"
#include "DialogKeys.h"
#include "TextFit.h"

#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// A label that acts on a click, as the window's links do.
class LinkLabel final : public QLabel
{
public:
    LinkLabel(const QString &text, const char *name, std::function<void()> action, QWidget *parent)
        : QLabel(text, parent)
        , m_action(std::move(action))
    {
        setObjectName(QString::fromLatin1(name));
        setCursor(Qt::PointingHandCursor);
        QFont underlined = font();
        underlined.setUnderline(true);
        setFont(underlined);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_action();
    }

private:
    std::function<void()> m_action;
};

void open_page(const QString &address)
{
    // A page that cannot be opened is not reported, as with any link.
    QDesktopServices::openUrl(QUrl(address));
}

} // namespace

QString frmAbout::home_page()
{
    return QStringLiteral(TRESSEL_HOMEPAGE);
}

QString frmAbout::support_page()
{
    return home_page() + QStringLiteral("support.html");
}

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Tressel"));
    fit_title(this);
    QLabel *image = logo_label(this, 64);
    QLabel *name = product_name_label(this);
    auto *version = new QLabel(QStringLiteral("Version : " TRESSEL_VERSION), this);
    version->setObjectName(QStringLiteral("version"));
    auto *line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(image, 0, Qt::AlignHCenter);
    layout->addWidget(name, 0, Qt::AlignHCenter);
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addWidget(line);
    layout->addWidget(new LinkLabel(
        home_page(), "Label4", [] { open_page(home_page()); }, this));
    layout->addWidget(new LinkLabel(
        QStringLiteral("Tressel Homepage"), "Label5", [] { open_page(home_page()); }, this));
    layout->addWidget(new LinkLabel(
        QStringLiteral("Tressel Support"), "Label6", [] { open_page(support_page()); }, this));
    layout->addWidget(new LinkLabel(
        QStringLiteral("Close this window"), "Label3", [this] { accept(); }, this));

    // Nothing to confirm: Enter closes the box, as Escape does.
    auto *keys = new DialogKeys(this, nullptr);
    keys->on_enter_in(this, [this] { accept(); });
}
