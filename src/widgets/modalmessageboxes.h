#pragma once

#include "data/messageboxes.h"

// Real modal boxes, in Polish, over the active window.
class ModalMessageBoxes final : public MessageBoxes
{
public:
    bool ask(const MessageRequest &request) override;
    int choose(const MessageRequest &request) override;
};
