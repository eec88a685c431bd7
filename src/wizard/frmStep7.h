#pragma once

#include "CommonDialog.h"
#include "WizardWindow.h"

class Cprefrences;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class gxButtons_H;

// The last page: where the script goes, how it answers the visitor
// (redirect to result pages, or a message of its own between an optional
// header and footer), which visitors are banned; and Generate.
class frmStep7 final : public WizardWindow
{
    Q_OBJECT

public:
    explicit frmStep7(QWidget *parent = nullptr);

    // Unlike the other pages, Cancel always offers to save.
    bool asks_to_save() const override { return true; }
    // Cancel, or Close once a generation is done.
    void cancel() override;

    // The success message as the project stores it: lines joined by "<br>".
    QString txt_success_message() const;
    // The success message as its box shows it.
    QString success_text() const;
    // The success message's font and colour (0x00BBGGRR); a reopened
    // project sets them back.
    const FontSpec &message_font() const { return m_message_font; }
    qint32 message_color() const { return m_message_color; }
    void set_message_font(const FontSpec &font, qint32 color);
    // The boxes a reopened project fills from its preferences and its
    // saved success message ("<br>" for each line break).
    void load_saved(const Cprefrences &prefs, const QString &message);
    // The project writer's save dialog.
    CommonDialog &save_dialog() { return m_save_dialog; }

    // The result-page group's place on the page, in twips.
    static constexpr int kGroupLeft = 480;
    static constexpr int kGroupTop = 2280;
    static constexpr int kGroupWidth = 6135;
    static constexpr int kGroupHeight = 1815;

    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void show_result_mode();
    void Browse_Click();
    void browse_page(CommonDialog &dialog, QLineEdit *box);
    void chkHeader_Click();
    void chkFooter_Click();
    void format_Click();
    void apply_message_font();
    void cmdIP_Click();
    void cmdBack_Click();
    void cmdNext_Click();
    // The checks of Generate, copying the page into the preferences; false
    // when the user is to correct something.
    bool take_choices();
    // Asks about a ticked header or footer without a file: true to go on.
    bool take_part(bool &is_part, QLineEdit *box, QString &img, QString &path, const QString &question);
    void generate();

    QLabel *Label4;
    QLineEdit *txtdestination;
    // Holds the embedded result's controls.
    QWidget *m_embedded = nullptr;
    gxButtons_H *Browse;
    QFrame *result_pages;
    QLabel *Label5;
    QLabel *Label2;
    QLineEdit *txtSuccess;
    gxButtons_H *cmdbrowsesuccess;
    QLabel *Label1;
    QLineEdit *txtError;
    gxButtons_H *cmdbrowsefailure;
    QLabel *Label3;
    QPlainTextEdit *main;
    gxButtons_H *format;
    QCheckBox *chkHeader;
    QLabel *lblheader;
    QLineEdit *txtHeader;
    gxButtons_H *headerbrowse;
    QCheckBox *chkFooter;
    QLabel *lblfooter;
    QLineEdit *txtFooter;
    gxButtons_H *browsefooter;
    gxButtons_H *cmdIP;
    QLabel *lblHelp;
    gxButtons_H *cmdNext;
    gxButtons_H *cmdBack;
    gxButtons_H *cmdCancel;
    gxButtons_H *cmdHelp;

    CommonDialog m_success_dialog;
    CommonDialog m_error_dialog;
    CommonDialog m_header_dialog;
    CommonDialog m_footer_dialog;
    CommonDialog m_font_dialog;
    CommonDialog m_save_dialog;
    // The font and colour of the success message, as the font dialog gave
    // them.
    FontSpec m_message_font;
    qint32 m_message_color = 0;
};
