#pragma once
// rv.ini on disk, read whole and replaced whole. Other programs (virus
// scanners, sync clients, editors) open the files beside the program: a file
// held for a moment is waited for, and one held longer is never taken for an
// empty one.
#include <string>

#include "framework/Platform.h"

// Reads rv.ini whole into `bytes`, and makes an empty one when there is none
// (the first start). False when the file is there but could not be read:
// `bytes` then hold what came before the failure, if anything.
bool ReadSettingsFile(const Platform& platform, std::string& bytes);

// Replaces rv.ini with `bytes`, keeping its attributes (hidden, system); false
// when it could not be written. The old file then stays as it was, unless only
// a rewrite in place was possible and that failed part way. Temporary files
// that an earlier save left behind go first.
bool WriteSettingsFile(const Platform& platform, const std::string& bytes);
