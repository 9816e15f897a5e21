// search.cpp - the search state.
#include "search/search.h"

SearchPatternRecord SearchPattern;
int searchActive;
