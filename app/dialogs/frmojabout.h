#pragma once

#include "app/dialogs/frmabout.h"

// The program's about box and splash: the product logo, its web and mail addresses and its colours, and
// a five-second splash.
class TfrmOJAbout : public TfrmAbout
{
    Q_OBJECT

public:
    static constexpr const char* kWebHome = "https://orvane-jukebox.example.org";
    static constexpr const char* kEmailSupport = "support@orvane-jukebox.example.org";
    static constexpr const char* kEmailSales = "sales@orvane-jukebox.example.org";

    explicit TfrmOJAbout(QWidget* parent = nullptr);
};
