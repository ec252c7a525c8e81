#!/usr/bin/env bash
# The Windows window program under wine with units to list and set up, on a bare display.
exec bash "$(dirname "${BASH_SOURCE[0]}")/wine_desktop.sh" "$1" units
