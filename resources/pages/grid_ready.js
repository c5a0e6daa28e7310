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

    // Pictures that arrive change the heights of the tiles: the loader looks again once they are all in.
    $(window).on('load', function () {
        lazyLoad.update();
    });
}

$(document).ready(readyFunctionScript);
