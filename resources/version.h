/* version.h - the project's version, from project() in CMakeLists.txt, which
   the build passes in as three numbers (the target vuko_version); included
   by the .rc and by the code that shows or checks the version.
   VUKO_VERSION_TEXT is "major.minor.patch". */
/* The resource compiler reads this too: kept as written. */
/* clang-format off */
#pragma once

#if !defined(VUKO_VERSION_MAJOR) || !defined(VUKO_VERSION_MINOR) || !defined(VUKO_VERSION_PATCH)
#error "compile with -DVUKO_VERSION_MAJOR=.. -DVUKO_VERSION_MINOR=.. -DVUKO_VERSION_PATCH=.."
#endif
#define VUKO_QUOTE_(x) #x
#define VUKO_QUOTE(x) VUKO_QUOTE_(x)
#define VUKO_VERSION_TEXT \
    VUKO_QUOTE(VUKO_VERSION_MAJOR) "." VUKO_QUOTE(VUKO_VERSION_MINOR) "." \
    VUKO_QUOTE(VUKO_VERSION_PATCH)
