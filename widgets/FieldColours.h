#pragma once
// How one edit field of the address widget is painted: the answer its owner
// gives when the widget asks.

#include <QColor>
#include <functional>

namespace widgets {

struct FieldColours
{
    QColor text;
    QColor background;
};

// Asked with the field index 0..3 each time an enabled field paints.
using FieldColourSource = std::function<FieldColours(int field)>;

} // namespace widgets
