#pragma once
// The component model in one include: TObject and the class registry (Object.h), TPersistent and
// TFiler (Persistent.h), TComponent (Component.h), TList (List.h), TStrings/TStringList
// (StringList.h), TCollection (Collection.h), events and sets (Events.h, Sets.h). Each is a unit
// of its own; include the one you need or this.

#include "framework/core/Collection.h"
#include "framework/core/Component.h"
#include "framework/core/Events.h"
#include "framework/core/List.h"
#include "framework/core/Object.h"
#include "framework/core/Persistent.h"
#include "framework/core/Sets.h"
#include "framework/core/StringList.h"
