#pragma once
// Whether this process runs inside a network namespace of its own (such as the
// lab's), so that broadcasts, floods and address changes stay off the machine's
// real network.

class LabNamespace
{
public:
    // True when our namespace is one of the named ones under /run/netns (what
    // `ip netns` makes), or differs from init's where init's can be seen.
    static bool isCurrent();
};
