#pragma once
// One of the four number fields of the address widget: up to three digits
// within the field's limits, and the keys that move between fields.

#include "widgets/FieldColours.h"

#include <QLineEdit>

namespace widgets {

class AddressFieldEdit : public QLineEdit
{
    Q_OBJECT

public:
    AddressFieldEdit(int index, QWidget* parent);

    int index() const { return m_index; }
    // The number shown; 0 for an empty field.
    int value() const;

    void setNeighbours(AddressFieldEdit* previous, AddressFieldEdit* next);
    void setColourSource(const FieldColourSource* source) { m_colourSource = source; }
    // Limits for what the person types; the program may show any byte.
    void setLimits(int low, int high);

    // Shows a value or empties the field for the program: not an edit.
    void showText(const QString& text);
    // Sets what the person pasted, as an edit that is reported at once.
    void pasteValue(int value);

    // Focus arrives from the field before: everything selected, and a "."
    // typed right away does not skip this field too.
    void enterFromPrevious();
    // Focus arrives from the field after, caret at the end.
    void enterFromNext();

signals:
    // The person changed this field and moved on (value 0 when left empty).
    void valueCommitted(int index, int value);
    void pasteWanted();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool handleNavigationKey(QKeyEvent* event);
    void onTextEdited();
    void commit();
    void applyColours();

    const int m_index;
    AddressFieldEdit* m_previous = nullptr;
    AddressFieldEdit* m_next = nullptr;
    const FieldColourSource* m_colourSource = nullptr;
    int m_low = 0;
    int m_high = 255;
    bool m_edited = false;
    bool m_justEntered = false;
};

} // namespace widgets
