#pragma once
// Empties a one-line edit that held a user name or a password so that no copy
// of the text stays behind in it: QLineEdit::clear() is itself an undoable
// edit and keeps every typed character in the field's undo history.

class QLineEdit;

namespace platform {

// Overwrites the field's own text buffer, then replaces the text, which also
// drops the undo history.
void eraseFieldText(QLineEdit* field);

} // namespace platform
