#include "widgets/WidgetsTypes.h"

#include "storage/ClassRegistry.h"
#include "widgets/AnimationWidget.h"
#include "widgets/AppearanceEffect.h"
#include "widgets/AppearanceEffectCollection.h"
#include "widgets/AppearanceEffectWdiget.h"
#include "widgets/BlinkWidget.h"
#include "widgets/CircularMotionWidget.h"
#include "widgets/DecorateWidget.h"
#include "widgets/ImageWidget.h"
#include "widgets/MoveScenario.h"
#include "widgets/MoveWidget.h"
#include "widgets/RectWidget.h"
#include "widgets/RotateWidget.h"
#include "widgets/SequenceAnimationWidget.h"
#include "widgets/SoundWidget.h"
#include "widgets/StateMachineWidget.h"
#include "widgets/SurfaceWidget.h"
#include "widgets/TestScenario.h"
#include "widgets/TextWidget.h"
#include "widgets/TransformWidget.h"
#include "widgets/TransparentScenario.h"
#include "widgets/VisualGroupWidget.h"
#include "widgets/WidgetFactory.h"

namespace qv {

void RegisterWidgetsTypes() {
  RegisterClass<TVisualGroupWidget>("group_widget");
  RegisterClass<TRectWidget>("rect_widget");
  RegisterClass<TSurfaceWidget>("surface_widget");
  RegisterClass<TLinkedSurfaceWidget>("linked_surface_widget");
  RegisterClass<TReplicatorWidget>("replicator_widget");
  RegisterClass<TWidgetFactory>("WidgetFactory");
  RegisterClass<TImageWidget>("image_widget");
  RegisterClass<TAnimationWidget>("animation_widget");
  RegisterClass<TSequenceAnimationWidget>("sequence_animation_widget");
  RegisterClass<TBlinkWidget>("blink_widget");
  RegisterClass<TTextWidget>("text_widget");
  RegisterClass<TSoundWidget>("sound_widget");
  RegisterClass<TTestScenario>("scenario");
  RegisterClass<TTransparentScenario>("transparent_scenario");
  RegisterClass<TMoveScenario>("move_scenario");
  RegisterClass<TMoveWidget>("move_widget");
  RegisterClass<TCircularMotionWidget>("circular_motion_widget");
  RegisterClass<TStateMachineWidget>("statemachine_widget");
  RegisterClass<TAppearanceEffectWdiget>("appearance_effect_widget");
  RegisterClass<TAppearanceEffectCollection>("appearance_effects");
  RegisterClass<TFunctionAppearanceEffect>("func_appearance_effect");
  RegisterClass<TSmoothMoveWidget>("smooth_move_widget");
  RegisterClass<TZoomWidget>("zoom_widget");
  RegisterClass<TRotateWidget>("rotate_widget");
  RegisterClass<TTimedRotateWidget>("rotate_widget_timed");
  RegisterClass<TMaskedSurfaceWidget>("masked_widget");
  RegisterClass<TContourWidget>("contour_widget");
  RegisterClass<TCutSectorWidget>("cutsector_widget");
  RegisterClass<TScrollAreaWidget>("scrollarea_widget");
}

}  // namespace qv
