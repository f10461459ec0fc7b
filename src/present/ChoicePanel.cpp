#include "present/ChoicePanel.h"

void ChoicePanel::drawBoxes(SDL_Renderer* renderer, const SDL_Rect& panel, const SDL_Rect& chosen,
                            SDL_Color chosenColour) {
    SDL_BlendMode mode = SDL_BLENDMODE_NONE;
    SDL_GetRenderDrawBlendMode(renderer, &mode);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer, kFrameColour.r, kFrameColour.g, kFrameColour.b, kFrameColour.a);
    SDL_RenderFillRect(renderer, &panel);
    const SDL_Rect inside{panel.x + kFrameWidth, panel.y + kFrameWidth, panel.w - 2 * kFrameWidth,
                          panel.h - 2 * kFrameWidth};
    SDL_SetRenderDrawColor(renderer, kPanelColour.r, kPanelColour.g, kPanelColour.b, kPanelColour.a);
    SDL_RenderFillRect(renderer, &inside);
    SDL_SetRenderDrawColor(renderer, chosenColour.r, chosenColour.g, chosenColour.b, chosenColour.a);
    SDL_RenderFillRect(renderer, &chosen);
    SDL_SetRenderDrawBlendMode(renderer, mode);
}
