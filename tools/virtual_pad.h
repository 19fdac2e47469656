#pragma once

// A pad SDL2 sees, made in this process for the tests and the scripted runs: a game
// controller that SDL2 maps with its standard layout (buttons A B X Y Back Guide Start, the
// stick buttons, the shoulders, the d-pad up, down, left, right as 0 to 14; left x, left y,
// right x, right y and the two triggers as axes 0 to 5), or a 20-button wheel, which is no
// game controller. Made before the game starts SDL, it is joystick 0 for the SDL 1.2 calls
// too; made later, only SDL2 sees it, as a pad plugged in while the game runs.
class VirtualPad
{
  public:
    enum Kind { GAME_CONTROLLER, WHEEL };
    explicit VirtualPad(Kind kind);
    ~VirtualPad();
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;
    bool attached() const { return joystick_ != nullptr; }
    void button(int index, bool down);
    void axis(int index, int value);

  private:
    void* joystick_ = nullptr;
    int device_ = -1;
};
