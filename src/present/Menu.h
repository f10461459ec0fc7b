#pragma once

#include "present/Render.h"

// The menu background picture.
class Menu : public Render {
public:
    static constexpr const char* kPicture = "images/images.png";

    Menu();
    void StartNewGame();
};
