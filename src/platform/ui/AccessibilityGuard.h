#pragma once
// Keeps the program alive under a screen reader. Qt's AT-SPI adaptor (the
// Qt 6.4 of this system) reads a second argument of every
// org.freedesktop.DBus.Properties call, and GetAll has only one: the
// program reads past the arguments and crashes. The guard takes the
// adaptor's place on the accessibility bus, answers GetAll (and any
// property call short of arguments) itself from the accessible interfaces,
// and hands every other message to the adaptor.
namespace platform {

// Watches for the accessibility bus connection and puts the guard in front
// of the adaptor whenever it is there without one.
void GuardAccessibilityBus();

} // namespace platform
