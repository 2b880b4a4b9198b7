// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/app_state.h"
