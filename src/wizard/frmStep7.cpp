#include "frmStep7.h"

#include "FontConversion.h"
#include "GenerateAction.h"
#include "MyMessage.h"
#include "WizardButtons.h"
#include "WizardFrame.h"
#include "frmAction.h"
#include "frmFolder.h"
#include "frmIP.h"
#include "named.h"

#include "generate/Html_converter.h"
#include "model/Cprefrences.h"
#include "model/FileError.h"
#include "model/SavedProject.h"
#include "model/globals.h"
#include "model/ini_variables.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace {

const QString kGenerate = QStringLiteral("Generate");
const QString kCancel = QStringLiteral("Cancel");

void notice(const QString &text)
{
    MyMessage::show_message(text, 1, 3);
}

// Window geometry is kept in twips, 15 to a pixel.
void place(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(left / 15, top / 15, width / 15, height / 15);
}

} // namespace

frmStep7::frmStep7(QWidget *parent)
    : WizardWindow(WizardPage::frmStep7, 7, parent)
    , Label4(named(new QLabel(QStringLiteral("PHP Script Destination"), this), "Label4"))
    , txtdestination(named(new QLineEdit(this), "txtdestination"))
    , Browse(make_button(this, "Browse", QStringLiteral("Browse")))
    , result_pages(named(new QFrame(this), "result_pages"))
    , Label5(named(new QLabel(QStringLiteral("Result pages"), result_pages), "Label5"))
    , Label2(named(new QLabel(QStringLiteral("Success page"), result_pages), "Label2"))
    , txtSuccess(named(new QLineEdit(result_pages), "txtSuccess"))
    , cmdbrowsesuccess(make_button(result_pages, "cmdbrowsesuccess", QStringLiteral("Browse")))
    , Label1(named(new QLabel(QStringLiteral("Error page"), result_pages), "Label1"))
    , txtError(named(new QLineEdit(result_pages), "txtError"))
    , cmdbrowsefailure(make_button(result_pages, "cmdbrowsefailure", QStringLiteral("Browse")))
    , Label3(named(
          new QLabel(QStringLiteral("Message to the user when the form is successfully processed ."), this), "Label3"))
    , main(named(new QPlainTextEdit(this), "main"))
    , format(make_button(this, "format", QStringLiteral("Format...")))
    , chkHeader(named(new QCheckBox(QStringLiteral("Insert a header file in the result page"), this), "chkHeader"))
    , lblheader(named(new QLabel(QStringLiteral("Header"), this), "lblheader"))
    , txtHeader(named(new QLineEdit(this), "txtHeader"))
    , headerbrowse(make_button(this, "headerbrowse", QStringLiteral("Browse")))
    , chkFooter(named(new QCheckBox(QStringLiteral("Insert a footer file in the result page"), this), "chkFooter"))
    , lblfooter(named(new QLabel(QStringLiteral("Footer"), this), "lblfooter"))
    , txtFooter(named(new QLineEdit(this), "txtFooter"))
    , browsefooter(make_button(this, "browsefooter", QStringLiteral("Browse")))
    , cmdIP(make_button(this, "cmdIP", QStringLiteral("Block certain IP addresses")))
    , lblHelp(named(new QLabel(this), "lblHelp"))
    , cmdNext(make_button(this, "cmdNext", kGenerate))
    , cmdBack(make_button(this, "cmdBack", QStringLiteral("<< Back")))
    , cmdCancel(make_button(this, "cmdCancel", kCancel))
    , cmdHelp(make_button(this, "cmdHelp", QStringLiteral("Help")))
    , m_success_dialog(this)
    , m_error_dialog(this)
    , m_header_dialog(this)
    , m_footer_dialog(this)
    , m_font_dialog(this)
    , m_save_dialog(this, CommonDialog::Files::Projects)
{
    setObjectName(QStringLiteral("frmStep7"));

    QFont heading = Label4->font();
    heading.setBold(true);
    Label4->setFont(heading);
    Label5->setFont(heading);
    // The box shows where the folder chooser put the script; what it shows is
    // not read back as a path.
    txtdestination->setReadOnly(true);
    main->setTabChangesFocus(true);

    // The result-page group has its own place on the page; inside it, and
    // everywhere else, sizes come from the texts.
    result_pages->setFrameShape(QFrame::StyledPanel);
    auto *group = new QGridLayout(result_pages);
    group->addWidget(Label5, 0, 0, 1, 3);
    group->addWidget(Label2, 1, 0);
    group->addWidget(txtSuccess, 1, 1);
    group->addWidget(cmdbrowsesuccess, 1, 2);
    group->addWidget(Label1, 2, 0);
    group->addWidget(txtError, 2, 1);
    group->addWidget(cmdbrowsefailure, 2, 2);
    group->setColumnStretch(1, 1);

    auto *destination = new QHBoxLayout;
    destination->addWidget(txtdestination, 1);
    destination->addWidget(Browse);

    // The embedded result's controls; the group takes their place when the
    // result is not embedded, so their room stays.
    m_embedded = new QWidget(this);
    auto *embedded = new QGridLayout(m_embedded);
    embedded->setContentsMargins(0, 0, 0, 0);
    embedded->addWidget(Label3, 0, 0, 1, 4);
    embedded->addWidget(main, 1, 0, 1, 4);
    embedded->addWidget(format, 2, 3);
    embedded->addWidget(chkHeader, 3, 0, 1, 4, Qt::AlignLeft);
    embedded->addWidget(lblheader, 4, 1);
    embedded->addWidget(txtHeader, 4, 2);
    embedded->addWidget(headerbrowse, 4, 3);
    embedded->addWidget(chkFooter, 5, 0, 1, 4, Qt::AlignLeft);
    embedded->addWidget(lblfooter, 6, 1);
    embedded->addWidget(txtFooter, 6, 2);
    embedded->addWidget(browsefooter, 6, 3);
    embedded->setColumnMinimumWidth(0, 16);
    embedded->setColumnStretch(2, 1);
    embedded->setRowStretch(1, 1);

    auto *block = new QHBoxLayout;
    block->addWidget(cmdIP);
    block->addStretch(1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (gxButtons_H *button : { cmdBack, cmdNext, cmdCancel, cmdHelp })
        buttons->addWidget(button);

    // The controls keep to the group's left and right edges; the buttons
    // stand where every page has them.
    auto *content = new QVBoxLayout;
    content->addWidget(Label4);
    content->addLayout(destination);
    content->addWidget(m_embedded, 1);
    content->addLayout(block);
    content->addWidget(lblHelp);
    auto *layout = new QVBoxLayout(this);
    const int inset = kGroupLeft / 15 - layout->contentsMargins().left();
    content->setContentsMargins(inset, 0, inset, 0);
    layout->addLayout(content, 1);
    layout->addLayout(buttons);
    result_pages->raise();

    // Header and footer start unticked, their boxes disabled.
    for (QWidget *widget : QWidgetList { lblheader, txtHeader, headerbrowse, lblfooter, txtFooter, browsefooter })
        widget->setEnabled(false);

    // Before any choice in the font dialog the message has the dialog's
    // starting font, a usable one.
    m_message_font = m_font_dialog.Font();
    m_message_color = m_font_dialog.Color();
    main->setFont(to_qfont(m_message_font, main->font()));

    set_hint_label(lblHelp, kGroupWidth / 15);
    const QString success = QStringLiteral(" The script will show this page once the form is successfully processed");
    const QString error
        = QStringLiteral(" The script will show this page if one or more fields contain invalid values");
    const QString header
        = QStringLiteral(" To integrate your website template with the result page, insert the template header here.");
    const QString footer
        = QStringLiteral(" To integrate your website template with the result page, insert the template footer here.");
    for (QWidget *widget : QWidgetList { txtSuccess, cmdbrowsesuccess, Label2 })
        add_hint(widget, success, nullptr);
    for (QWidget *widget : QWidgetList { txtError, cmdbrowsefailure, Label1 })
        add_hint(widget, error, nullptr);
    add_hint(chkHeader, header, chkHeader);
    for (QWidget *widget : QWidgetList { lblheader, txtHeader, headerbrowse })
        add_hint(widget, header, nullptr);
    add_hint(chkFooter, footer, chkFooter);
    for (QWidget *widget : QWidgetList { lblfooter, txtFooter, browsefooter })
        add_hint(widget, footer, nullptr);
    reset_hint();
    result_pages->installEventFilter(this);

    connect(txtSuccess, &QLineEdit::textChanged, this, [this] {
        // A change explains the box as the pointer over it does.
        QEvent shown(QEvent::Enter);
        WizardWindow::eventFilter(txtSuccess, &shown);
    });
    connect(Browse, &gxButtons_H::Click, this, &frmStep7::Browse_Click);
    connect(cmdbrowsesuccess, &gxButtons_H::Click, this, [this] { browse_page(m_success_dialog, txtSuccess); });
    connect(cmdbrowsefailure, &gxButtons_H::Click, this, [this] { browse_page(m_error_dialog, txtError); });
    connect(headerbrowse, &gxButtons_H::Click, this, [this] { browse_page(m_header_dialog, txtHeader); });
    connect(browsefooter, &gxButtons_H::Click, this, [this] { browse_page(m_footer_dialog, txtFooter); });
    // Also when a reopened project ticks them.
    connect(chkHeader, &QCheckBox::toggled, this, &frmStep7::chkHeader_Click);
    connect(chkFooter, &QCheckBox::toggled, this, &frmStep7::chkFooter_Click);
    connect(format, &gxButtons_H::Click, this, &frmStep7::format_Click);
    connect(cmdIP, &gxButtons_H::Click, this, &frmStep7::cmdIP_Click);
    connect(cmdNext, &gxButtons_H::Click, this, &frmStep7::cmdNext_Click);
    connect(cmdBack, &gxButtons_H::Click, this, &frmStep7::cmdBack_Click);
    connect(cmdCancel, &gxButtons_H::Click, this, &frmStep7::cancel);
    connect(cmdHelp, &gxButtons_H::Click, this, &frmStep7::show_help);
}

QString frmStep7::txt_success_message() const
{
    QString text = main->toPlainText();
    text.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
    text.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    return text;
}

QString frmStep7::success_text() const
{
    return main->toPlainText();
}

void frmStep7::set_message_font(const FontSpec &font, qint32 color)
{
    // The font dialog starts from it and gives it back when cancelled.
    m_font_dialog.set_Font(font);
    m_font_dialog.set_Color(color);
    apply_message_font();
}

void frmStep7::load_saved(const Cprefrences &prefs, const QString &message)
{
    txtdestination->setText(prefs.php_des);
    txtSuccess->setText(prefs.success_path);
    txtError->setText(prefs.error_path);
    chkHeader->setChecked(prefs.is_header);
    txtHeader->setText(prefs.header_path);
    txtFooter->setText(prefs.footer_path);
    chkFooter->setChecked(prefs.is_footer);
    main->setPlainText(SavedProject::line_breaks(message).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    // Filled by the program, not by the person: no hint to show.
    reset_hint();
}

void frmStep7::setVisible(bool visible)
{
    // Each showing sets the result mode's controls first, so that only
    // those that show are laid out and drawn.
    if (visible && !isVisible())
        show_result_mode();
    WizardWindow::setVisible(visible);
}

bool frmStep7::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == result_pages && event->type() == QEvent::MouseButtonPress)
        reset_hint();
    return WizardWindow::eventFilter(watched, event);
}

void frmStep7::show_result_mode()
{
    const bool embedded = globals::prefs()->is_embeded_result_page;
    for (QWidget *widget : QWidgetList { main, Label3, lblheader, chkHeader, lblfooter, chkFooter, txtHeader, txtFooter,
             format, headerbrowse, browsefooter })
        widget->setVisible(embedded);
    result_pages->setVisible(!embedded);
    place(result_pages, kGroupLeft, kGroupTop, kGroupWidth, kGroupHeight);
    // The controls around keep clear of the group wherever it is shown.
    layout()->activate();
    m_embedded->setMinimumHeight(std::max(0, (kGroupTop + kGroupHeight) / 15 - m_embedded->y()));
}

void frmStep7::Browse_Click()
{
    frmFolder(this).exec();
    const QString &path = globals::prefs()->php_des;
    if (path.contains(QLatin1String(".php")))
        txtdestination->setText(path);
}

void frmStep7::browse_page(CommonDialog &dialog, QLineEdit *box)
{
    dialog.set_Filter(QStringLiteral("(*.html)|*.html;*.htm|All|*.*"));
    dialog.ShowOpen();
    box->setText(dialog.FileName());
}

void frmStep7::chkHeader_Click()
{
    const bool ticked = chkHeader->isChecked();
    lblheader->setEnabled(ticked);
    headerbrowse->setEnabled(ticked);
    txtHeader->setEnabled(ticked);
}

void frmStep7::chkFooter_Click()
{
    const bool ticked = chkFooter->isChecked();
    lblfooter->setEnabled(ticked);
    browsefooter->setEnabled(ticked);
    txtFooter->setEnabled(ticked);
}

void frmStep7::format_Click()
{
    m_font_dialog.set_Flags(259);
    m_font_dialog.set_Min(8);
    m_font_dialog.set_Max(24);
    m_font_dialog.ShowFont();
    apply_message_font();
}

void frmStep7::apply_message_font()
{
    // Taken whether or not the user confirmed: a cancelled dialog still
    // holds the values it had.
    m_message_font = m_font_dialog.Font();
    m_message_color = m_font_dialog.Color();
    main->setFont(to_qfont(m_message_font, main->font()));
    QPalette palette = main->palette();
    palette.setColor(QPalette::Text, to_qcolor(m_message_color));
    main->setPalette(palette);
}

void frmStep7::cmdIP_Click()
{
    frmIP(this).exec();
}

void frmStep7::cmdBack_Click()
{
    cmdNext->set_Caption(kGenerate);
    WizardFrame::instance().go_back(*this);
}

void frmStep7::cancel()
{
    WizardFrame &frame = WizardFrame::instance();
    if (cmdCancel->Caption() == kCancel) {
        frame.exit_dialogue(*this, asks_to_save());
        return;
    }
    // Close, after a generation.
    if (globals::project_saved) {
        frame.end_program();
        return;
    }
    // Yes saves and the program goes on; a box closed without an answer
    // leaves everything as it was.
    if (frame.ask_to_save(QStringLiteral("Do you want to save this project ?")) == WizardFrame::SaveAnswer::Declined)
        frame.end_program();
}

void frmStep7::cmdNext_Click()
{
    if (cmdNext->Caption() != kGenerate) {
        WizardFrame::instance().save_project();
        return;
    }
    generate();
}

bool frmStep7::take_part(bool &is_part, QLineEdit *box, QString &img, QString &path, const QString &question)
{
    if (!is_part)
        return true;
    if (!box->text().isEmpty()) {
        img = GenerateAction::base_name(box->text());
        path = box->text();
        return true;
    }
    if (MyMessage::show_message(question, 3, 3) != 2)
        return false;
    is_part = false;
    return true;
}

bool frmStep7::take_choices()
{
    Cprefrences &prefs = *globals::prefs();
    if (txtdestination->text().isEmpty()) {
        notice(QStringLiteral("Please specify a destination file"));
        return false;
    }
    prefs.is_header = chkHeader->isChecked();
    prefs.is_footer = chkFooter->isChecked();
    if (!take_part(prefs.is_header, txtHeader, prefs.header_img, prefs.header_path,
            QStringLiteral("Header file is empty, Do you want to insert a header file in the result script?")))
        return false;
    if (!take_part(prefs.is_footer, txtFooter, prefs.footer_img, prefs.footer_path,
            QStringLiteral("footer file is empty, Do you want to insert a footer file in the result script?")))
        return false;
    if (!prefs.is_embeded_result_page) {
        if (txtSuccess->text().isEmpty()) {
            notice(QStringLiteral("Success page can't be empty"));
            return false;
        }
        prefs.success_page = GenerateAction::base_name(txtSuccess->text());
        prefs.success_path = txtSuccess->text();
        if (txtError->text().isEmpty()) {
            notice(QStringLiteral("Error page can't be empty"));
            return false;
        }
        prefs.error_page = GenerateAction::base_name(txtError->text());
        prefs.error_path = txtError->text();
    } else if (main->toPlainText().isEmpty()) {
        notice(QStringLiteral("Success Message is empty"));
        main->setFocus();
        return false;
    }
    return true;
}

void frmStep7::generate()
{
    if (!take_choices())
        return;
    try {
        ini_variables::write_wizard_ini();
    } catch (const FileError &error) {
        // The wizard's own setting: the generation goes on without it.
        MyMessage::show_message(
            error.path() + QStringLiteral(" cannot be written (") + error.reason() + QLatin1Char(')'), 1, 2);
    }
    Cprefrences &prefs = *globals::prefs();
    prefs.success_message = Html_converter::text_to_html(txt_success_message(), m_message_font, m_message_color);
    try {
        GenerateAction().write_files();
    } catch (const FileError &error) {
        MyMessage::show_message(
            QStringLiteral("The script was not generated: ") + error.path() + QLatin1Char(' ') + error.reason(), 1, 2);
        return;
    } catch (const std::exception &error) {
        MyMessage::show_message(
            QStringLiteral("The script was not generated: ") + QString::fromLocal8Bit(error.what()), 1, 2);
        return;
    }
    frmAction(this).exec();
    cmdNext->set_Caption(QStringLiteral("Save Project"));
    cmdCancel->set_Caption(QStringLiteral("Close"));
}
