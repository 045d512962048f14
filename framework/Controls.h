// Wrappers of the common and standard controls, by area (framework/ControlCreate.h says what
// they share). Including this header gives all of them.
#pragma once

#include "framework/BarControls.h"
#include "framework/ImageList.h"
#include "framework/ListViewCtrl.h"
#include "framework/SmallControls.h"
#include "framework/StandardControls.h"
