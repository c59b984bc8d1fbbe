#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shapes/shape.h"

namespace quib {

// Undo and redo of the edits made to an ordered list of shapes. A record is written just before
// the change it undoes; undoing a record restores the state it holds and puts the record of the
// opposite change on the other stack, so undo and redo round-trip to the same shapes.
class ShapeEditHistory {
public:
    using Shapes = std::vector<std::unique_ptr<Shape>>;

    enum class Kind : uint32_t {
        AddShape = 3,
        DeleteShape = 4,
        KeyframePoints = 5,
        AllPoints = 6,
        Group = 10
    };

    explicit ShapeEditHistory(Shapes& shapes) : m_shapes(&shapes) {}

    // Points the history at another list and forgets every record.
    void reset(Shapes& shapes);
    void clear();

    // Before adding a shape at index ("Crea nuova Forma").
    void recordAdd(int index, std::string name = "Crea nuova Forma");
    // Before deleting the shape at index ("Elimina Forma").
    void recordDelete(int index, std::string name = "Elimina Forma");
    // Before changing the points of the shape's keyframe at time ("Modifica Forma").
    void recordPoints(int index, int time, std::string name = "Modifica Forma");
    // Before changing the point count or the points of every keyframe (flip, mirror).
    void recordAllPoints(int index, std::string name = "Modifica Forma");
    // Takes back the newest record when the change it was written for did not happen.
    void dropLast();
    // After count records that form one step.
    void recordGroup(int count, std::string name);

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    bool undo() { return step(m_undo, m_redo); }
    bool redo() { return step(m_redo, m_undo); }

    // "Annulla Crea nuova Forma\tCtrl+Z", or "Annulla\tCtrl+Z" with nothing to undo; redo likewise.
    std::string undoText() const;
    std::string redoText() const;

    // Called after every new record (the host marks its content changed).
    std::function<void()> onRecord;

private:
    struct Record {
        Kind kind = Kind::AddShape;
        std::string name;
        int index = 0;  // group: the number of records grouped
        int time = 0;
        std::vector<PointD> points;
        std::vector<uint8_t> shapeBytes;
    };

    void push(Record record);
    // Restores what the record holds; returns the record of the opposite change.
    Record apply(const Record& record);
    bool step(std::vector<Record>& from, std::vector<Record>& to);

    Shapes* m_shapes;
    std::vector<Record> m_undo;
    std::vector<Record> m_redo;
};

}  // namespace quib
