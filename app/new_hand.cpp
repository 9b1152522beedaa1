#include "app/new_hand.h"

void NewHand(Window, CardBlock&) {}
void RefreshResults(Window, CardBlock&) {}
