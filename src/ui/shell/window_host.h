// What the child windows need from the main window: its outer size in twips, to place
// themselves, and the showing and closing of the route's other windows.
#pragma once

class QWidget;

namespace ventora {

class window_host {
public:
    virtual ~window_host() = default;

    // The main window's outer Width and Height, in twips.
    virtual double width_twips() const = 0;
    virtual double height_twips() const = 0;

    // "Show": create the window if it is not open (building and placing it), make it visible and bring
    // it to the front; an open window only comes forward, keeping its contents.
    virtual void show_relief_window() = 0;
    virtual void show_valve_window() = 0;
    virtual void show_disc_window() = 0;

    // Unloads the relief-rate window if it is open; does nothing otherwise.
    virtual void close_relief_window() = 0;
};

}  // namespace ventora
