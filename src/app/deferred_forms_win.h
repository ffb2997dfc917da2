#pragma once
// The search, preview, batch-change and property windows, made the first time
// they are shown. Until then a stand-in answers for each under its global
// reference: at start-up it reads what making the window reads (a dialog's
// stored place, which also creates its key), so the settings see the same
// start; its first call makes the window, which takes over the reference, and
// passes the call on. The dozens of hidden windows and controls these four
// hold cost a good part of the time before the browser shows.

#include <type_traits>
#include <utility>

#include "config/kv_form_win.h"
#include "list/batch_change_form_win.h"
#include "list/preview_form_win.h"
#include "list/property_editor_win.h"
#include "list/search_form_win.h"
#include "program/forms.h"

namespace kv::app {

template <typename Form, typename Interface, Interface*& Global>
class DeferredForm : public Interface {
 public:
  template <typename... Args>
  explicit DeferredForm(Args&&... args) : form_(std::forward<Args>(args)...) {}
  ~DeferredForm() override {
    if (Global == this) Global = nullptr;
  }
  DeferredForm(const DeferredForm&) = delete;
  DeferredForm& operator=(const DeferredForm&) = delete;

  // At start-up, in the windows' order: what making the window would read.
  void Prepare() {
    if constexpr (std::is_base_of_v<TKVForm, Form>) form_.ReadPlace();
    Global = this;
  }
  // The window once it is made, else null.
  [[nodiscard]] Form* Made() noexcept { return made_ ? &form_ : nullptr; }

 protected:
  Form& Window() {
    if (!made_) {
      form_.Create();
      made_ = true;
    }
    return form_;
  }

 private:
  Form form_;
  bool made_ = false;
};

class DeferredSearchForm final
    : public DeferredForm<TSearchForm, program::ISearchForm, program::SearchForm> {
 public:
  using DeferredForm::DeferredForm;
  void ShowSearch() override { Window().ShowSearch(); }
};

class DeferredPreviewForm final
    : public DeferredForm<TPreviewForm, program::IPreviewForm, program::PreviewForm> {
 public:
  using DeferredForm::DeferredForm;
  void ShowPreview(const std::string& fullName, const std::string& style) override {
    Window().ShowPreview(fullName, style);
  }
};

class DeferredBatchChangeForm final
    : public DeferredForm<TkvBatchChangeForm, program::IBatchChangeForm,
                          program::kvBatchChangeForm> {
 public:
  using DeferredForm::DeferredForm;
  void ShowBatch() override { Window().ShowBatch(); }
};

class DeferredPropertyEditor final
    : public DeferredForm<TPropertyEditor, program::IPropertyEditor, program::PropertyEditor> {
 public:
  using DeferredForm::DeferredForm;
  void ShowEditor() override { Window().ShowEditor(); }
};

}  // namespace kv::app
