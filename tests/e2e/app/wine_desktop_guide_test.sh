#!/usr/bin/env bash
# The Windows window program under wine with no unit: the guide pages, under openbox.
MRV_WM=openbox exec bash "$(dirname "${BASH_SOURCE[0]}")/wine_desktop.sh" "$1" guide
