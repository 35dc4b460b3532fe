#pragma once

namespace setip {

// The window's own drawing surface, beneath its controls.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;
    // Erases whatever was drawn on the window itself at run time.
    virtual void Cls() = 0;
};

}  // namespace setip
