#pragma once

#include "controls/draggeneration.h"
#include "platform/stringlist.h"

#include <QAbstractListModel>

#include <string>
#include <string_view>
#include <vector>

// The lines of a list box: UTF-8 strings, each with an attached object (a link, never freed here), as a
// Qt list model. Changes outside BeginUpdate/EndUpdate are reported row by row, so views keep their
// selection; changes inside one update are reported as one reset when it ends. Every change bumps the
// drag generation, so a drag of rows made before it is refused (TdragPayload).
class ThtmlListItems : public QAbstractListModel
{
    Q_OBJECT
public:
    // The line's object as a quintptr.
    static constexpr int ObjectRole = Qt::UserRole + 1;

    explicit ThtmlListItems(QObject* parent = nullptr);

    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& Strings(int index) const;
    const std::string& operator[](int index) const { return Strings(index); }
    void* Objects(int index) const;

    int Add(std::string text) { return AddObject(std::move(text), nullptr); }
    // Sorted lists insert at the line's place in case-insensitive order.
    int AddObject(std::string text, void* object);
    void Insert(int index, std::string text, void* object = nullptr);
    void Delete(int index);
    void Clear();
    void Exchange(int a, int b);
    void Move(int from, int to);
    void SetString(int index, std::string text);
    void SetObject(int index, void* object);

    int IndexOf(std::string_view text) const;
    int IndexOfObject(const void* object) const;

    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);

    // Replaces the lines by those of a string list, objects included.
    template <class T>
    void Assign(const TStringList<T>& strings)
    {
        BeginUpdate();
        Batched();
        items_.clear();
        items_.reserve(static_cast<std::size_t>(strings.Count()));
        for (const auto& item : strings)
            items_.push_back(Item{item.text, const_cast<void*>(static_cast<const void*>(item.object))});
        if (sorted_)
            SortItems();
        EndUpdate();
    }

    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    const TdragGeneration& DragGeneration() const { return generation_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    // A TdragPayload of the rows, in ascending order.
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

private:
    struct Item
    {
        std::string text;
        void* object = nullptr;
    };

    void CheckIndex(int index) const;
    // Inside an update, starts the one reset before the first change.
    bool Batched();
    int SortedPosition(std::string_view text) const;
    void InsertItem(int index, std::string text, void* object);
    void SortItems();

    std::vector<Item> items_;
    bool sorted_ = false;
    int updateCount_ = 0;
    bool resetting_ = false;
    TdragGeneration generation_;
};
