#pragma once

// The five process-wide handles through which a hit test reaches a listener,
// one per event kind. Each is made on first use and released at exit; a hit
// test finds its handle empty only when someone emptied it.
#include "Core/Base/Delegate.h"
#include "Core/Base/DelegateHandle.h"
#include "Core/Base/Result.h"
#include "Framework/Layer/HitTestParam.h"
#include "Framework/Layer/MouseEvents.h"

namespace layer
{
template <class E>
using DispatchDelegate = base::Delegate2<HitTestParam&, const E&, HVResultEnum>;

// Defined for OnMouseDown, OnMouseUp, OnMouseMove, OnMouseDrag, OnMouseWheel.
template <class E>
base::DelegateHandle& GetDispatchHandle();

// What the handle of E is bound to: fills the listener's fields, calls its
// direct (or, when bubbled, its bubbled) operation and, on success, takes its
// state back into the param.
template <class E>
HVResultEnum DispatchToListener(HitTestParam& param, const E& event);
} // namespace layer
