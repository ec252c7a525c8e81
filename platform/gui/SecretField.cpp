// Wipes a line edit's characters in place, then empties it without undo
// history.

#include "platform/gui/SecretField.h"

#include "platform/core/SecureWipe.h"

#include <QLineEdit>
#include <QString>
#include <cstddef>

namespace platform {

void eraseFieldText(QLineEdit* field)
{
    // text() shares the field's buffer rather than copying it, so wiping the
    // shared characters wipes the field's own. Text that Qt keeps in read-only
    // memory (set from a literal) was never typed and is left alone.
    QString shared = field->text();
    if (shared.data_ptr().isMutable() && !shared.isEmpty())
        secureWipe(
            // NOLINTNEXTLINE(cppcoreguidelines-pro-type-const-cast): data() would wipe a copy
            const_cast<QChar*>(shared.constData()),
            static_cast<std::size_t>(shared.size()) * sizeof(QChar));
    // Unlike clear(), setText() starts the undo history afresh.
    field->setText(QString());
}

} // namespace platform
