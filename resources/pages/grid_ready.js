// Pages of book tiles without the shared page script: rating stars, and pictures loaded as they come into view.
function readyFunctionScript() {
    $('.rating-detail').rating({
        containerClass: 'rating-fa',
        filledStar: '<i class="rating-star">&#9733;</i>',
        emptyStar: '<i class="rating-star">&#9734;</i>',
        size: 'xs',
        step: 1,
        showClear: false,
        showCaption: false,
        readonly: true
    });

    var lazyLoad = new LazyLoad();
    lazyLoad.update();
}

$(document).ready(readyFunctionScript);
