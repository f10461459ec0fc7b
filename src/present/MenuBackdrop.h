#pragma once

#include "present/Menu.h"
#include "present/Screen.h"

// The menu's picture as it stands, under a panel shown over the menu (the options, the letter
// grid). It waits for nothing of its own: its loop ends once nothing stands over it.
class MenuBackdrop : public Screen {
public:
    explicit MenuBackdrop(Menu& menu) : menu(menu) {}

    void take(const SDL_Event&) override {}
    void draw(SDL_Renderer*) const override { menu.copyTex(menu.getPos(), menu.getRect()); }
    bool done() const override { return true; }

private:
    Menu& menu;  // the process's menu background
};
