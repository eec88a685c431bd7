#pragma once

#include "WizardWindow.h"

#include <QHash>

#include <initializer_list>

class QGridLayout;
class QLabel;
class gxButtons_H;

// What the two mail pages share: a hint line beside the controls that also
// answers a control's focus, keys and changes and moves to the height of the
// control it explains.
class MailPage : public WizardWindow
{
    Q_OBJECT

public:
    // The text of an address box before anything was chosen.
    static const QString kSelectVisitorField;

protected:
    MailPage(WizardPage page, int help_context, QWidget *parent);

    // What shows a control's hint besides the page's rules.
    enum Trigger {
        Pointer = 1, // the pointer moves over it
        Focus = 2, // it gets the focus
        AnyKey = 4, // any key goes down in it
        TypedKey = 8, // a key that types a character
        FocusResets = 16, // getting the focus hides the hint instead
    };
    // A hint as `add_hint` gives it, shown on `triggers`; `top` (twips, 0
    // for none) places the hint label.
    void add_mail_hint(
        QWidget *control, int triggers, const QString &sentence, QWidget *highlighted, int height, int top = 0);
    // Shows the hint of `control` (its changes and clicks call this).
    void show_hint_of(QObject *control);
    // The hint label's height and top (twips) while no control is explained.
    void set_hint_rest(int height, int top);
    // Hides the hint, gives the highlighted labels their rest colour and the
    // hint label its rest place.
    void rest_hint();

    // Lays the page out: `rows` of captions and boxes with the hint column
    // beside them, and the page's buttons at the bottom.
    void arrange(QGridLayout *rows, std::initializer_list<gxButtons_H *> buttons);

    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    QLabel *lblHelp;

private:
    void place_hint(int top);

    QHash<QObject *, int> m_triggers;
    QHash<QObject *, int> m_tops;
    int m_rest_height = 1215;
    int m_rest_top = 1800;
    int m_top = 1800;
};
