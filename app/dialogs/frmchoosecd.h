#pragma once

// The viewer links the library inline, so it needs the full class.
#include "core/jukebox/customjukeboxlist.h"
#include "core/tree/customjukeboxlistviewer.h"
#include "markup/color.h"

#include <QDialog>

#include <memory>

class QPushButton;
class TaudioTagAlbum;
class TnoScrollTreeView;
class TtreeSinkModel;
struct TFontDesc;

// "Choose CD": the library's albums and compilations as a tree, from which the user picks one album. Only
// album nodes can be selected; typing a letter jumps to that letter's root.
class TfrmChooseCD : public QDialog
{
    Q_OBJECT

public:
    // Node images.
    static constexpr int kClosedImage = 0;
    static constexpr int kLeafImage = 2;
    static constexpr int kOpenImage = 4;
    static constexpr int kAlbumImage = 5;
    static constexpr int kOpenAlbumImage = 6;

    explicit TfrmChooseCD(QWidget* parent = nullptr);
    ~TfrmChooseCD() override;

    void SetJukeboxList(TcustomJukeboxList* library);
    TcustomJukeboxList* JukeboxList() const;
    // The album picked with OK; null before, after Cancel and when OK found no album selected.
    TaudioTagAlbum* ChosenAlbum() const { return chosenAlbum_; }

    // The tree's background colour and, when a font is given, its font and text colour.
    void SetTreeColors(const TFontDesc* font, TColor color);
    // Refills the tree from the library and forgets the chosen album (what showing the window does).
    void FillTree();
    // Makes a letter's root current (either case); false for any other character.
    bool SelectAlpha(char letter);

    // The image of a node: albums open when expanded or selected, nodes holding something open when
    // expanded, anything else a leaf.
    static int ImageIndex(TtreeNodeKind kind, bool hasData, bool hasChildren, bool expanded, bool selected);

    const TcustomJukeboxListViewer& Viewer() const { return viewer_; }
    TtreeSinkModel& Model() const { return *model_; }
    TnoScrollTreeView* Tree() const { return tvChooseCD; }
    QPushButton* OkButton() const { return btnOK; }
    QPushButton* CancelButton() const { return btnCancel; }

public slots:
    // OK: takes the selected album, if any, then closes.
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Keeps the selection to album nodes.
    void DropNonAlbums();
    TaudioTagAlbum* SelectedAlbum() const;

    TcustomJukeboxListViewer viewer_;
    TaudioTagAlbum* chosenAlbum_ = nullptr; // link
    TtreeSinkModel* model_;
    TnoScrollTreeView* tvChooseCD;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

// The chooser bound to the library, its tree in the colour and, when given, the font; null without a
// library.
std::unique_ptr<TfrmChooseCD> CreateChooseAlbumForm(TcustomJukeboxList* library, const TFontDesc* font,
                                                    TColor color, QWidget* parent = nullptr);

// Runs the chooser modally and hands out the album chosen (null when none was selected). True iff it
// closed with OK; false at once, album untouched, without a library. The caller queues the album when the
// answer is true and the album is not null.
bool ChooseAlbum(TcustomJukeboxList* library, TaudioTagAlbum*& album, const TFontDesc* font = nullptr,
                 TColor color = clWhite, QWidget* parent = nullptr);
