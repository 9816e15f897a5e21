// ui_state.h - the state that the boxes and the view's input keep between
// messages (the open input box, a press on the view and the view's own
// procedure, the chosen font), reset together.
#pragma once

// Forgets all of it, releasing the chosen font, as at start: for a main
// window that is gone.
void ResetUiState();
