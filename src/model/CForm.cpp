#include "CForm.h"

const std::shared_ptr<fields> &CForm::fields()
{
    if (!m_fields)
        m_fields = std::make_shared<::fields>();
    return m_fields;
}
