#include "script/condition_values.h"
#include "lexical/field_cursor.h"

namespace kestrel::script {

bool comparisonHolds(int threeWay, lexical::ComparisonOperator op) {
    switch (op) {
    case lexical::ComparisonOperator::Equal:
        return threeWay == 0;
    case lexical::ComparisonOperator::Greater:
        return threeWay > 0;
    case lexical::ComparisonOperator::Less:
        return threeWay < 0;
    case lexical::ComparisonOperator::GreaterOrEqual:
        return threeWay >= 0;
    case lexical::ComparisonOperator::LessOrEqual:
        return threeWay <= 0;
    case lexical::ComparisonOperator::NotEqual:
        return threeWay != 0;
    case lexical::ComparisonOperator::Error:
    case lexical::ComparisonOperator::Range:
        break;
    }
    return false;
}

} // namespace kestrel::script
