#pragma once

// The window-bound shared helpers in one include.

#include "common/ui/laybox.h"
#include "common/ui/laymsg.h"
#include "common/ui/listviewwidth.h"
#include "common/ui/textwidth.h"
