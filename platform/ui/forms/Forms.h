// The form layer of the setup program: forms described as tables, components
// bound by name, the application and its loop, message dialogs. Notes in
// docs/ui.md ("Forms").
#pragma once

#include "ui/forms/Application.h"
#include "ui/forms/Bitmap.h"
#include "ui/forms/Buttons.h"
#include "ui/forms/ComboBoxes.h"
#include "ui/forms/Component.h"
#include "ui/forms/Control.h"
#include "ui/forms/Description.h"
#include "ui/forms/Dialogs.h"
#include "ui/forms/Edits.h"
#include "ui/forms/Form.h"
#include "ui/forms/Image.h"
#include "ui/forms/Menus.h"
#include "ui/forms/Published.h"
#include "ui/forms/StaticControls.h"
#include "ui/forms/Strings.h"
#include "ui/forms/TabControl.h"
#include "ui/forms/Timer.h"
