// The window framework in one include: handles, graphics, controls, forms, application.
#pragma once

#include "ui/framework/controls.h"
#include "ui/framework/graphics.h"
#include "ui/framework/handles.h"
