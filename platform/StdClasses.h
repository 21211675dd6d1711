#pragma once
// The built-in window classes ("EDIT", "BUTTON"); the class table registers them the first time a class is
// looked up or registered.

void RegisterStandardClasses();
