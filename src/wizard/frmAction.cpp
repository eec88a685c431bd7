#include "frmAction.h"

#include "DialogKeys.h"
#include "HTMLHelpViewer.h"
#include "MyMessage.h"
#include "WizardButtons.h"

#include "model/Cprefrences.h"
#include "model/globals.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QSaveFile>
#include <QVBoxLayout>

namespace {

const QString NL = QStringLiteral("\r\n");

QString yes_no(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

// A label shows line breaks, not carriage returns.
QString shown(const QString &text)
{
    return QString(text).replace(NL, QStringLiteral("\n"));
}

} // namespace

frmAction::frmAction(QWidget *parent)
    : QDialog(parent)
    , Labelmain(new QLabel(this))
    , Labelcausion(new QLabel(this))
    , lblHelp(new QLabel(QStringLiteral("For more information click here"), this))
    , cmdOK(make_button(this, "cmdOK", QStringLiteral("OK")))
    , cmdsave(make_button(this, "cmdsave", QStringLiteral("Save report")))
    , m_save_dialog(this, CommonDialog::Files::Reports)
{
    setObjectName(QStringLiteral("frmAction"));
    setWindowTitle(QStringLiteral("Tressel"));
    Labelmain->setObjectName(QStringLiteral("Labelmain"));
    Labelcausion->setObjectName(QStringLiteral("Labelcausion"));
    lblHelp->setObjectName(QStringLiteral("lblHelp"));

    const Cprefrences &prefs = *globals::prefs();
    Labelmain->setText(shown(main_text(prefs)));
    Labelmain->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Labelcausion->setText(caution_text(prefs));
    Labelcausion->setWordWrap(true);
    QFont bold = Labelcausion->font();
    bold.setBold(true);
    Labelcausion->setFont(bold);

    // The help link looks and acts as a link.
    QFont underlined = lblHelp->font();
    underlined.setUnderline(true);
    lblHelp->setFont(underlined);
    QPalette link = lblHelp->palette();
    link.setColor(QPalette::WindowText, QColor(0, 0, 255));
    lblHelp->setPalette(link);
    lblHelp->setCursor(Qt::PointingHandCursor);
    lblHelp->installEventFilter(this);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(lblHelp);
    buttons->addStretch(1);
    buttons->addWidget(cmdsave);
    buttons->addWidget(cmdOK);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Labelmain);
    layout->addSpacing(8);
    layout->addWidget(Labelcausion);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setMinimumWidth(460);

    connect(cmdOK, &gxButtons_H::Click, this, &QDialog::accept);
    connect(cmdsave, &gxButtons_H::Click, this, &frmAction::cmdsave_Click);
    new DialogKeys(this, cmdOK);
    // The report opens with OK at the keyboard: Enter closes it.
    cmdOK->setFocus();
}

QString frmAction::main_text(const Cprefrences &prefs)
{
    QString text = QStringLiteral("Tressel has successfully created script file:") + NL + prefs.php_des + NL;
    if (!prefs.is_embeded_result_page) {
        text += QStringLiteral("Result page isn't embedded in the result script") + NL;
        text += QStringLiteral("Success page: ") + prefs.success_page + NL;
        text += QStringLiteral("Error page: ") + prefs.error_page + NL;
    } else {
        text += QStringLiteral("Result page is embedded in the result script") + NL;
        if (prefs.is_header)
            text += QStringLiteral("Header: ") + prefs.header_img + NL;
        if (prefs.is_footer)
            text += QStringLiteral("Footer: ") + prefs.footer_img + NL;
    }
    return text;
}

QString frmAction::caution_text(const Cprefrences &prefs)
{
    return QStringLiteral("Please remember to change the action attribute in the form tag to '") + prefs.script_name
        + QLatin1Char('\'');
}

QString frmAction::report_text(const Cprefrences &prefs)
{
    const QString stars(35, QLatin1Char('*'));
    const QStringList lines {
        stars,
        QStringLiteral("Tressel, Task Report"),
        stars,
        QStringLiteral("Tressel has successfully created script file: "),
        prefs.php_des,
        QString(),
        QStringLiteral("With the following options:-"),
        QString(),
        QStringLiteral("Send email to form owner  : ") + yes_no(prefs.is_email),
        QStringLiteral("Send auto respond email to user  : ") + yes_no(prefs.is_autoresponde),
        QStringLiteral("Save fields values in a text file   : ") + yes_no(prefs.is_csv),
        QStringLiteral("Save Fields Values in a MySQL table  : ") + yes_no(prefs.is_mysql),
        QStringLiteral("Embed result page to script : ") + yes_no(prefs.is_embeded_result_page),
        QStringLiteral("Header  : ") + prefs.header_img,
        QStringLiteral("Footer  : ") + prefs.footer_img,
        QStringLiteral("success page  : ") + prefs.success_page,
        QStringLiteral("Error Page  : ") + prefs.error_page,
        QStringLiteral("Please remember to change the action attribute in the form tag to:") + prefs.script_name,
        stars,
        QString(),
    };
    return lines.join(NL) + NL;
}

bool frmAction::write_report(const QString &path, const Cprefrences &prefs, QString *reason)
{
    QSaveFile file(path);
    const QByteArray text = report_text(prefs).toUtf8();
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit())
        return true;
    if (reason)
        *reason = file.errorString();
    return false;
}

bool frmAction::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblHelp && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        show_help_context(8);
    return QDialog::eventFilter(watched, event);
}

void frmAction::cmdsave_Click()
{
    m_save_dialog.set_Filter(QStringLiteral("Log Files|*.log"));
    m_save_dialog.set_Flags(2);
    m_save_dialog.set_DefaultExt(QStringLiteral("log"));
    m_save_dialog.ShowSave();
    // Cancelled before any report was saved: there is nowhere to write.
    const QString path = m_save_dialog.FileName();
    if (path.isEmpty())
        return;
    QString reason;
    if (!write_report(path, *globals::prefs(), &reason))
        MyMessage::show_message(
            QStringLiteral("The report ") + path + QStringLiteral(" cannot be written (") + reason + QLatin1Char(')'),
            1, 2);
}
