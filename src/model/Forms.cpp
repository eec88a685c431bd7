#include "Forms.h"

std::shared_ptr<CForm> Forms::Addform(CForm &form, const QString &key)
{
    auto added = std::make_shared<CForm>();
    added->set_fields(form.fields());
    added->set_FormName(form.FormName());
    added->set_Action(form.Action());
    added->set_Method(form.Method());
    added->encoding = form.encoding;
    added->encoding_declared = form.encoding_declared;
    m_items.Add(added, key);
    return added;
}
