#include "unrepresentable_name.h"

#include <string>

namespace velkaro::dialog {

Message unrepresentableNameMessage(std::string_view path) {
    return {"不能打开 \"" + std::string(path) +
                "\":\n路径中有本系统代码页不能表示的字符。请把文件改名或移到只用中文、"
                "英文字母和数字命名的文件夹，再重新选择。",
            std::string(), MessageIcon::Exclamation};
}

} // namespace velkaro::dialog
