#pragma once

#include <QSplitter>

namespace quib {

// A vertical two-row splitter whose bar cannot be dragged; rows are sized by the owner.
class FixedSplitter : public QSplitter {
public:
    explicit FixedSplitter(QWidget* parent = nullptr);

protected:
    QSplitterHandle* createHandle() override;
};

}  // namespace quib
