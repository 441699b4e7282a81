// The player that the Windows maker carries inside itself: an RCDATA resource of this id.
// Included by the maker's generated resource script too, so nothing but the define goes here.
#pragma once

#define IDR_EMBEDDED_PLAYER 2001
