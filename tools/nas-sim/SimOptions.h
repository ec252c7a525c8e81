#pragma once
// The command line of nas-sim.

#include "tools/nas-sim/SimConfig.h"

#include <QStringList>
#include <optional>

class SimOptions
{
public:
    // nullopt with *error set (or *exitNow for --help) when the simulator should not run.
    static std::optional<SimConfig> parse(const QStringList& arguments, QString* error,
                                          bool* exitNow);
};
