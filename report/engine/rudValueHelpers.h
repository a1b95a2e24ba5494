#pragma once
// Small helpers on expression values shared by the expansion code.

#include "script/fs_ivariant.h"

// A condition's value is True (a Boolean True, or a value the script's
// comparison finds equal to True).
bool rudIsTrue(const TfsVariant &Value);
// A value that hides with HideZeros: not a text, not Null, and equal to 0.
bool rudIsZero(const TfsVariant &Value);
