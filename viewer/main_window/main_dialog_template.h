// Dialog 102, the main window: 504 x 347 dialog units at 7/4 pixel per unit, 27 skinned buttons
// and the four video panes.
#pragma once

#include "platform/ui/dialog_template.h"

const DialogTemplate& MainDialogTemplate();
