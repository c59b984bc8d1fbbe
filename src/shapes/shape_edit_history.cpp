#include "shapes/shape_edit_history.h"

#include "base/byte_stream.h"
#include "shapes/shape_factory.h"

namespace quib {

namespace {

std::vector<PointD> keyframeOf(const Shape& shape, int time) {
    const int k = shape.KeyframeIndex(time);
    if (k < 0)
        return {};
    return std::vector<PointD>(shape.keyframePoints.begin() + ptrdiff_t(k) * shape.pointCount,
                               shape.keyframePoints.begin() + ptrdiff_t(k + 1) * shape.pointCount);
}

std::vector<uint8_t> shapeBytes(const Shape& shape) {
    std::vector<uint8_t> bytes;
    ByteWriter out(bytes);
    writeShape(out, shape);
    return bytes;
}

}  // namespace

void ShapeEditHistory::reset(Shapes& shapes) {
    m_shapes = &shapes;
    clear();
}

void ShapeEditHistory::clear() {
    m_undo.clear();
    m_redo.clear();
}

void ShapeEditHistory::push(Record record) {
    m_undo.push_back(std::move(record));
    m_redo.clear();
    if (onRecord)
        onRecord();
}

void ShapeEditHistory::recordAdd(int index, std::string name) {
    push(Record{Kind::AddShape, std::move(name), index, 0, {}, {}});
}

void ShapeEditHistory::recordDelete(int index, std::string name) {
    if (index < 0 || size_t(index) >= m_shapes->size())
        return;
    push(Record{Kind::DeleteShape, std::move(name), index, 0, {}, shapeBytes(*(*m_shapes)[size_t(index)])});
}

void ShapeEditHistory::recordPoints(int index, int time, std::string name) {
    if (index < 0 || size_t(index) >= m_shapes->size())
        return;
    push(Record{Kind::KeyframePoints,
                std::move(name),
                index,
                time,
                keyframeOf(*(*m_shapes)[size_t(index)], time),
                {}});
}

void ShapeEditHistory::recordAllPoints(int index, std::string name) {
    if (index < 0 || size_t(index) >= m_shapes->size())
        return;
    const Shape& shape = *(*m_shapes)[size_t(index)];
    push(Record{Kind::AllPoints, std::move(name), index, shape.pointCount, shape.keyframePoints, {}});
}

void ShapeEditHistory::dropLast() {
    if (!m_undo.empty())
        m_undo.pop_back();
}

void ShapeEditHistory::recordGroup(int count, std::string name) {
    if (count > 0 && size_t(count) <= m_undo.size())
        push(Record{Kind::Group, std::move(name), count, 0, {}, {}});
}

ShapeEditHistory::Record ShapeEditHistory::apply(const Record& record) {
    Shapes& shapes = *m_shapes;
    const bool inList = record.index >= 0 && size_t(record.index) < shapes.size();
    switch (record.kind) {
        case Kind::AddShape: {
            if (!inList)
                break;
            Record opposite{Kind::DeleteShape,
                            record.name,
                            record.index,
                            0,
                            {},
                            shapeBytes(*shapes[size_t(record.index)])};
            shapes.erase(shapes.begin() + record.index);
            return opposite;
        }
        case Kind::DeleteShape: {
            if (record.index < 0 || size_t(record.index) > shapes.size())
                break;
            ByteReader in(record.shapeBytes);
            std::unique_ptr<Shape> shape = readShape(in);
            shape->Update(0, false);
            shapes.insert(shapes.begin() + record.index, std::move(shape));
            return Record{Kind::AddShape, record.name, record.index, 0, {}, {}};
        }
        case Kind::KeyframePoints: {
            if (!inList)
                break;
            Shape& shape = *shapes[size_t(record.index)];
            const int k = shape.KeyframeIndex(record.time);
            if (k < 0 || record.points.size() != size_t(shape.pointCount))
                break;
            Record opposite{Kind::KeyframePoints,           record.name, record.index, record.time,
                            keyframeOf(shape, record.time), {}};
            std::copy(record.points.begin(), record.points.end(),
                      shape.keyframePoints.begin() + ptrdiff_t(k) * shape.pointCount);
            shape.Update(record.time, false);
            return opposite;
        }
        case Kind::AllPoints: {
            // time holds the point count here
            if (!inList || record.time < 0)
                break;
            Shape& shape = *shapes[size_t(record.index)];
            if (record.points.size() != size_t(record.time) * size_t(shape.keyframeCount()))
                break;
            Record opposite{Kind::AllPoints,  record.name,          record.index,
                            shape.pointCount, shape.keyframePoints, {}};
            shape.pointCount = record.time;
            shape.keyframePoints = record.points;
            shape.Update(0, false);
            return opposite;
        }
        case Kind::Group:
            break;
    }
    return record;
}

bool ShapeEditHistory::step(std::vector<Record>& from, std::vector<Record>& to) {
    if (from.empty())
        return false;
    Record top = std::move(from.back());
    from.pop_back();
    if (top.kind != Kind::Group) {
        to.push_back(apply(top));
        return true;
    }
    const int count = std::min<int>(top.index, int(from.size()));
    for (int i = 0; i < count; ++i) {
        Record inner = std::move(from.back());
        from.pop_back();
        to.push_back(apply(inner));
    }
    to.push_back(std::move(top));
    return true;
}

std::string ShapeEditHistory::undoText() const {
    return m_undo.empty() ? "Annulla\tCtrl+Z" : "Annulla " + m_undo.back().name + "\tCtrl+Z";
}

std::string ShapeEditHistory::redoText() const {
    return m_redo.empty() ? "Ripristina\tCtrl+Y" : "Ripristina " + m_redo.back().name + "\tCtrl+Y";
}

}  // namespace quib
