#include "MyMessage.h"

#include "ScreenPlace.h"
#include "frmMessage.h"

namespace MyMessage {

namespace {

Responder &responder()
{
    static Responder instance;
    return instance;
}

int code(const QString &word)
{
    static const QHash<QString, int> codes = {
        { QStringLiteral("yes"), 1 },
        { QStringLiteral("no"), 2 },
        { QStringLiteral("cancel"), 3 },
        { QStringLiteral("ok"), 4 },
        { QStringLiteral("skip"), 5 },
        { QStringLiteral("overwrite"), 6 },
        { QStringLiteral("skipall"), 7 },
        { QStringLiteral("overwriteall"), 8 },
    };
    return codes.value(word, 0);
}

} // namespace

int show_message(const QString &text, int buttons, int icon, Escape escape)
{
    if (responder())
        return responder()(text, buttons, icon);
    frmMessage box;
    box.prepare(text, buttons, icon, escape == Escape::Closes);
    place_over(box, working_window());
    box.exec();
    return code(box.result());
}

void set_responder(Responder answer)
{
    responder() = std::move(answer);
}

} // namespace MyMessage
