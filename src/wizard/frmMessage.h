#pragma once

#include "MessageLayout.h"

#include <QDialog>

class DialogKeys;
class QLabel;
class gxButtons_H;

// The message box window: a text, an icon and a row of buttons, sized to
// the text.
class frmMessage final : public QDialog
{
    Q_OBJECT

public:
    explicit frmMessage(QWidget *parent = nullptr);

    // Lays the box out for the text, the button set and the icon; Escape
    // closes it like its close button when `escape_closes`, and otherwise
    // presses Cancel or No.
    void prepare(const QString &text, int buttons, int icon, bool escape_closes = false);

    // The lower-case word of the button that closed the box; empty when the
    // box was closed otherwise.
    const QString &result() const { return m_result; }

    // The width of the text on one line, in twips.
    double text_width(const QString &text) const;
    // The size (pixels) the text takes in the box, wrapped at `width`.
    QSize text_size(const QString &text, int width) const;

private:
    QString m_result;
    QLabel *lblMessage;
    QLabel *img;
    gxButtons_H *m_buttons[MessageLayout::ButtonCount];
    DialogKeys *m_keys;
};
