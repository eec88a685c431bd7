#pragma once

#include "WizardWindow.h"

#include <QHash>

#include <initializer_list>

class QGridLayout;
class QLabel;
class QSpacerItem;
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
    // Whether `name` is a field of the form taken, exactly as written.
    static bool names_field(const QString &name);

protected:
    MailPage(WizardPage page, int help_context, QWidget *parent);

    // A hint as add_hint gives it, shown on `triggers`, with the hint label
    // `height` high (twips) and placed at `top` (twips; 0: where it stands).
    void add_placed_hint(
        QWidget *control, int triggers, const QString &sentence, QWidget *highlighted, int height, int top = 0);
    // The hint label's height and top (twips) while no control is explained.
    // Called once every hint is known.
    void set_hint_rest(int height, int top);
    // Hides the hint, gives the highlighted labels their rest colour and the
    // hint label its rest place.
    void reset_hint() override;
    void hint_shown(QObject *control) override;

    // Lays the page out: `rows` of captions and boxes with the hint column
    // beside them, and the page's buttons at the bottom.
    void arrange(QGridLayout *rows, std::initializer_list<gxButtons_H *> buttons);

    void resizeEvent(QResizeEvent *event) override;

    QLabel *lblHelp;

private:
    void place_hint(int top);

    QHash<QObject *, int> m_tops;
    // The lowest a hint reaches, in pixels from the window's top.
    int m_lowest = 0;
    QSpacerItem *m_hint_column = nullptr;
    QWidget *m_picture = nullptr;
    int m_rest_height = 1215;
    int m_rest_top = 1800;
    int m_top = 1800;
};
